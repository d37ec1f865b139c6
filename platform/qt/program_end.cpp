#include "platform/qt/program_end.h"

#include <QCoreApplication>

namespace platform::qt {
namespace {
std::optional<int> g_code;
}

void EndProgram(int exitCode) {
    if (!g_code) g_code = exitCode;
    QCoreApplication::exit(*g_code);
}

std::optional<int> ProgramEndCode() {
    return g_code;
}

void ClearProgramEndForTests() {
    g_code.reset();
}

}  // namespace platform::qt
