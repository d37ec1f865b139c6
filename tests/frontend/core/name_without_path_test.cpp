#include "frontend/core/name_without_path.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(NameWithoutPathTest, TakesTheNameAndDropsFourCharacters) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Songs\\Folk\\Tune.mid", "Tune"},
        {"C:Tune.mid", "Tune"},
        {"C:\\Songs\\", ""},
        {"\\Tune.mid", "Tune"},
        {"/home/user/songs/Tune.mid", "Tune"},
        {"/home/user/my.songs/Tune.kar", "Tune"},
        {"/home/user/songs/", ""},
        {"Melody", "Me"},
        {"Tune", "Tune"},
        {"a.mi", "a.mi"},
        {"Tune.mid", "Tune"},
        {"", ""},
    };
    for (const auto& [path, name] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(GetNameWithoutPath(path), name);
    }
}

}  // namespace
}  // namespace corvane
