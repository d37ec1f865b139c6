// The help viewer: the project's help pages are HTML files in the folder "Vessane.chm/" of
// the program folder. Displaying a topic opens that page in one reusable, non-modal window
// titled "Orvella Help"; closing all closes it. Pages are read by their names' bytes, so the
// help opens, and its links lead on, in a folder whose name is not UTF-8.
#pragma once

#include <cstdint>
#include <string>

namespace platform::qt {

// Returns the cookie that Uninitialize gives back.
std::int32_t HelpInitialize();
// `helpFolder` and `topic` (a page's path inside it) are file names as bytes.
void HelpDisplayTopic(const std::string& helpFolder, const std::string& topic);
void HelpCloseAll();
void HelpUninitialize(std::int32_t cookie);

}  // namespace platform::qt
