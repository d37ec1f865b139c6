#include "frontend/core/output_store.h"

#include <limits>

#include "frontend/core/output_decoding.h"
#include "platform/file.h"
#include "platform/qt/byte_file.h"

namespace corvane {

bool OutputStore::LoadComposeOutput(const std::string& path, std::int16_t runCode) {
    if (loading_) return false;
    loading_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{loading_};

    const auto length = platform::qt::FileLength(path);
    if (!length || *length > std::numeric_limits<std::int32_t>::max()) return false;
    const auto bytes = platform::qt::ReadAtMost(path, static_cast<std::size_t>(*length));
    if (!bytes) return false;
    auto decoded = frontend::DecodeComposeOutput(*bytes, runCode);
    if (!decoded) return false;
    buffer_ = std::move(decoded->song);
    headLength_ = static_cast<std::int32_t>(decoded->headLength);
    return true;
}

bool OutputStore::WritePlayFile(const std::string& path) const {
    if (!platform::ReplaceFileAtomically(path, buffer_, platform::Durability::kNotSynced))
        return false;
    const auto length = platform::qt::FileLength(path);
    return length && *length > 0;
}

}  // namespace corvane
