// The help viewer: the project's help pages are HTML files in the folder "Vessane.chm/" of
// the program folder. Displaying a topic opens that page in one reusable, non-modal window
// titled "Orvella Help"; closing all closes it.
#pragma once

#include <QString>
#include <cstdint>

namespace platform::qt {

// Returns the cookie that Uninitialize gives back.
std::int32_t HelpInitialize();
void HelpDisplayTopic(const QString& helpFolder, const QString& topic);
void HelpCloseAll();
void HelpUninitialize(std::int32_t cookie);

}  // namespace platform::qt
