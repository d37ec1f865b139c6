#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <utility>
#include <vector>

#include "platform/qt/caption_label.h"
#include "platform/qt/ini_settings.h"
#include "platform/qt/msg_box.h"
#include "platform/qt/sorted_list_box.h"
#include "platform/qt/value_bar.h"

namespace platform::qt {
namespace {

TEST(MsgBoxTest, RecorderLogsAndAnswersFromItsScript) {
    MsgBoxRecorder recorder;
    recorder.Answer(MsgResult::kNo);
    EXPECT_EQ(MsgBox("Save?", MsgIcon::kQuestion, MsgButtons::kYesNoCancel), MsgResult::kNo);
    EXPECT_EQ(MsgBox("Again?", MsgIcon::kQuestion, MsgButtons::kYesNoCancel, 2),
              MsgResult::kCancel);
    EXPECT_EQ(MsgBox("Two\nlines", MsgIcon::kCritical, MsgButtons::kOkOnly, 0, "Title"),
              MsgResult::kOk);
    EXPECT_EQ(recorder.lines(), (QStringList{"question|Orvella|Save?", "question|Orvella|Again?",
                                             "critical|Title|Two\\nlines"}));
}

TEST(MsgBoxTest, EnvironmentLogAnswersWithTheDefault) {
    QTemporaryDir dir;
    const QString log = dir.filePath("boxes.log");
    qputenv("ORVELLA_MSGBOX_LOG", log.toUtf8());
    EXPECT_EQ(MsgBox("A\nB", MsgIcon::kInformation, MsgButtons::kOkCancel, 1), MsgResult::kCancel);
    EXPECT_EQ(MsgBox("plain"), MsgResult::kOk);
    qunsetenv("ORVELLA_MSGBOX_LOG");
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), "information|Orvella|A\\nB\nnone|Orvella|plain\n");
}

TEST(CaptionLabelTest, ChangeFiresOnceAndOnlyOnARealChange) {
    CaptionLabel label;
    int changes = 0;
    QString seen;
    QObject::connect(&label, &CaptionLabel::Change, [&] {
        ++changes;
        seen = label.Caption();
    });
    label.SetCaption("A");
    label.SetCaption("A");
    label.SetCaption("");
    label.SetCaption("A");
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(seen, "A");
    label.SetForeColor(0x80FFFF);
    EXPECT_EQ(ColourOf(label.ForeColor()), QColor(255, 255, 128));
}

TEST(CaptionLabelTest, APaintedBackgroundKeepsTheCaptionReadable) {
    struct Case {
        std::uint32_t fore, back;
        QColor text;
    } const cases[] = {
        {0x80FFFF, 0x80FFFF, QColor(0x10, 0x15, 0x1C)},  // the slot colour on itself: dark
        {0xFFFFFF, 0xC0FFC0, QColor(0x10, 0x15, 0x1C)},
        {0x202020, 0x101010, QColor(0xE8, 0xEE, 0xF6)},  // dark on dark: light
        {0x000000, 0x80FFFF, QColor(0, 0, 0)},           // already readable: kept
        {0x80FFFF, 0x3A2410, QColor(255, 255, 128)},
    };
    for (const Case& c : cases) {
        CaptionLabel label;
        label.SetForeColor(c.fore);
        label.SetBackColor(c.back);
        EXPECT_EQ(label.styleSheet(),
                  "background-color: " + ColourOf(c.back).name() + "; color: " + c.text.name());
        EXPECT_EQ(label.ForeColor(), c.fore);
        // A later fore colour keeps the background.
        label.SetForeColor(c.fore);
        EXPECT_TRUE(label.styleSheet().startsWith("background-color: " + ColourOf(c.back).name()));
    }
    CaptionLabel led;
    led.SetBackColor(0x808080);
    EXPECT_EQ(led.styleSheet(), "background-color: #808080");
}

TEST(ValueBarTest, ValuesAreClampedAndChangeRaisedOnce) {
    ValueBar bar;
    int changes = 0;
    QObject::connect(&bar, &ValueBar::Change, [&] { ++changes; });
    bar.SetMax(20);
    const std::pair<int, int> steps[] = {{5, 5}, {25, 20}, {-3, 0}, {0, 0}, {20, 20}};
    for (const auto& [set, got] : steps) {
        bar.SetValue(set);
        EXPECT_EQ(bar.Value(), got) << set;
    }
    EXPECT_EQ(changes, 4);
    bar.SetMax(12);  // lowering Max below Value clamps it and raises one change
    EXPECT_EQ(bar.Value(), 12);
    EXPECT_EQ(changes, 5);
    bar.SetMin(15);
    EXPECT_EQ(bar.Value(), 15);
    EXPECT_EQ(bar.Max(), 15);
}

TEST(SortedListBoxTest, InsertsWithoutCaseFirstAndEqualTextsAfter) {
    SortedListBox list;
    for (const char* text : {" 4/4 rock", " 3/4 Waltz", " 4/4 Rock", " 4/4 pop", " 4/4 Rock"})
        list.AddItem(text);
    QStringList rows;
    for (int row = 0; row < list.ListCount(); ++row) rows << list.List(row);
    EXPECT_EQ(rows, (QStringList{" 3/4 Waltz", " 4/4 pop", " 4/4 Rock", " 4/4 Rock", " 4/4 rock"}));
}

TEST(IniSettingsTest, KeepsTextsPerApplicationInTheConfigFolder) {
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    IniSettingsStore store;
    EXPECT_EQ(IniSettingsStore::FilePath("Orvella 2426"), dir.path() + "/Orvella/Orvella 2426.ini");
    EXPECT_FALSE(store.GetSetting("Orvella 2426", "RegPcStr", "Echo1"));
    store.SaveSetting("Orvella 2426", "RegPcStr", "Echo1", "050");
    store.SaveSetting("Orvella 2426", "RegStFName", "StFName", "A, b.sty");
    EXPECT_EQ(store.GetSetting("Orvella 2426", "RegPcStr", "Echo1"), "050");
    EXPECT_EQ(store.GetSetting("Orvella 2426", "RegStFName", "StFName"), "A, b.sty");
    EXPECT_FALSE(store.GetSetting("Other", "RegPcStr", "Echo1"));
}

// Values are bytes: a style file named in another encoding is remembered as it stands, while a
// UTF-8 value is written as plain text, as earlier runs wrote it, and their files read as before.
TEST(IniSettingsTest, ValuesComeBackByteForByteAndUtf8OnesStayPlainText) {
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Ascii", "Wz3431.sty"},
        {"Utf8", "caf\xC3\xA9.sty"},
        {"Latin1", "caf\xE9.sty"},
        {"Mangled", "caf\xEF\xBF\xBD.sty"},  // what an earlier run made of the above
        {"Surrogate", "\xED\xB3\xA9x.sty"},  // UTF-8 in form only
        {"Lone", "\xC3"},
        {"At", "@ByteArray(x)"},
    };
    IniSettingsStore store;
    for (const auto& [key, value] : cases) store.SaveSetting("Orvella 2426", "S", key, value);
    // Read from a copy too, which the store has never seen, so what counts is the file.
    ASSERT_TRUE(QFile::copy(IniSettingsStore::FilePath("Orvella 2426"),
                            IniSettingsStore::FilePath("Copy")));
    for (const auto& [key, value] : cases) {
        SCOPED_TRACE(key);
        EXPECT_EQ(store.GetSetting("Orvella 2426", "S", key), value);
        EXPECT_EQ(store.GetSetting("Copy", "S", key), value);
    }
    QFile file(IniSettingsStore::FilePath("Copy"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    for (const char* line :
         {"Ascii=Wz3431.sty\n", "Utf8=caf\xC3\xA9.sty\n", "Mangled=caf\xEF\xBF\xBD.sty\n"}) {
        EXPECT_TRUE(text.contains(line)) << line << "\n" << text.toStdString();
    }

    // A file of an earlier run, written by hand.
    QFile earlier(IniSettingsStore::FilePath("Earlier"));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("[RegPcStr]\nEcho1=050\n[RegStFName]\nStFName=caf\xC3\xA9.sty\n");
    earlier.close();
    EXPECT_EQ(store.GetSetting("Earlier", "RegPcStr", "Echo1"), "050");
    EXPECT_EQ(store.GetSetting("Earlier", "RegStFName", "StFName"), "caf\xC3\xA9.sty");
}

// Runs `call`; false when it is still waiting after a few seconds. A call waiting in the open
// of the FIFO is then let go by opening the FIFO's other end, so the test ends either way.
bool EndsWithoutWaiting(const std::function<void()>& call, const QString& fifo) {
    auto done = std::async(std::launch::async, call);
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) return true;
    const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY);
    if (fd >= 0) ::close(fd);
    done.wait();
    return false;
}

TEST(IniSettingsTest, AnythingButARegularFileAtItsNameIsAMissingFileNeverWritten) {
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    ASSERT_TRUE(QDir(dir.path()).mkpath("Orvella/Orvella 2426.ini"));  // a folder
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.path() + "/Orvella/Other.ini").constData(), 0600), 0);
    IniSettingsStore store;
    for (const char* app : {"Orvella 2426", "Other"}) {
        SCOPED_TRACE(app);
        const QString path = IniSettingsStore::FilePath(app);
        std::optional<std::string> read = "not read";
        EXPECT_TRUE(
            EndsWithoutWaiting([&] { read = store.GetSetting(app, "RegPcStr", "Echo1"); }, path));
        EXPECT_FALSE(read);
        EXPECT_TRUE(
            EndsWithoutWaiting([&] { store.SaveSetting(app, "RegPcStr", "Echo1", "050"); }, path));
        const QFileInfo after(path);
        EXPECT_TRUE(after.isDir() || !after.isFile()) << "the store wrote a file in its place";
        EXPECT_TRUE(QDir(dir.path() + "/Orvella").entryList({"*.ini*"}, QDir::Files).isEmpty());
    }
    struct stat info;
    ASSERT_EQ(::stat(QFile::encodeName(dir.path() + "/Orvella/Other.ini").constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

}  // namespace
}  // namespace platform::qt
