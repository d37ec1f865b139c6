// The style panel's GUI tests: the program started in the test's process with the shipped
// styles, the start-up's own activations settled, and mouse and key presses sent the way the
// window system delivers them (through the application, so its event filters see them first).
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QWidget>
#include <vector>

#include "frontend/styles/slot_tables.h"
#include "frontend/styles/ui/style_panel.h"
#include "tests/frontend/support/gui_harness.h"

namespace corvane::styles::testing {

inline void Mouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button) {
    const QPointF inside(2, 2);
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
    QMouseEvent event(type, inside, widget->mapToGlobal(inside), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
inline void Press(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
    Mouse(widget, QEvent::MouseButtonPress, button);
}
inline void Release(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
    Mouse(widget, QEvent::MouseButtonRelease, button);
}
inline void Click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
    Press(widget, button);
    Release(widget, button);
}
inline void Key(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

// The rows of a list box, top to bottom.
inline QStringList Rows(const QListWidget* list) {
    QStringList rows;
    for (int row = 0; row < list->count(); ++row) rows << list->item(row)->text();
    return rows;
}

// Every value of the slot and part tables, for "nothing changed" checks.
inline std::vector<int> TableValues(const SlotTables& t) {
    std::vector<int> values(t.SectStyleIdx.begin(), t.SectStyleIdx.end());
    values.insert(values.end(), t.SectVol.begin(), t.SectVol.end());
    for (int s = 0; s < 6; ++s) {
        for (int p = 0; p < 6; ++p) {
            for (const auto* table : {&t.PartProgram, &t.PartMode, &t.PartSustain, &t.StyNoteBase,
                                      &t.StyPan, &t.StyChannel, &t.StyMode, &t.StySustain})
                values.push_back((*table)(s, p));
        }
        for (int p = 0; p < 7; ++p) values.push_back(t.PartVol(s, p));
    }
    return values;
}

class PanelTest : public corvane::testing::CorvaneTest {
  protected:
    void StartPanel() {
        ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
        // The activations the start-up asked for arrive before the test's own clicks.
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
        recorder.clear();
        midiOut.Clear();
    }
    SlotTables& tables() { return app().slotTables; }
    StylePanel& panel() { return main().stylePanel(); }
};

}  // namespace corvane::styles::testing
