#include "platform/qt/sorted_list_box.h"

#include "platform/qt/byte_file.h"

namespace platform::qt {

int SortedListBox::AddItem(const QString& text) {
    const std::string key = text.toStdString();
    int low = 0;
    int high = count();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (CompareNames(item(middle)->text().toStdString(), key) <= 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    insertItem(low, text);
    return low;
}

QString SortedListBox::List(int row) const {
    const QListWidgetItem* entry = item(row);
    return entry != nullptr ? entry->text() : QString();
}

}  // namespace platform::qt
