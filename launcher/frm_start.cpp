#include "launcher/frm_start.h"

#include "launcher/font_install.h"
#include "launcher/launcher_boxes.h"
#include "launcher/program_start.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/editor_font.h"
#include "platform/qt/single_instance.h"

namespace vessane {

int FrmStart::Form_Load() {
    const std::string currentFolder = platform::qt::CurrentFolder();
    // The lock lives until the process ends, which is right after the front end started.
    const platform::qt::InstanceLock instance("Vessane", currentFolder);
    if (instance.anotherRunning()) return 0;

    AppDir = currentFolder;
    FontPath = AppDir + "/" + platform::qt::kEditorFontFile;

    FontResult = InstallFontForUser(FontPath);
    if (FontResult != 1) boxes_.FontNotInstalled("Cannot install " + FontPath + " fonts");

    // Announced also after a failed installation, as the font list may have changed anyway.
    FontResult = AnnounceFontChange() ? 1 : 0;

    if (!StartProgram("Corvane")) {
        boxes_.StartFailed("Cannot start Corvane");
        return 1;
    }
    return 0;
}

}  // namespace vessane
