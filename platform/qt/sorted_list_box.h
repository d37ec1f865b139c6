// A list box that keeps its rows sorted as items are added: each new text goes to its sorted
// place (without letter case first, then with it; an equal text after the ones already there),
// so the order is the same on every machine.
#pragma once

#include <QListWidget>

namespace platform::qt {

class SortedListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit SortedListBox(QWidget* parent = nullptr) : QListWidget(parent) {}

    // Returns the row the text went to.
    int AddItem(const QString& text);
    QString List(int row) const;
    int ListCount() const { return count(); }
};

}  // namespace platform::qt
