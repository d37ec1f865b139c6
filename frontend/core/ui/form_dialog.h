// The base of every dialog form: a QDialog with the form's name as its object name and a
// `Tag` text through which callers hand the form its request. Modal is exec(), modeless show().
#pragma once

#include <QDialog>
#include <QString>

namespace corvane {

class FormDialog : public QDialog {
  public:
    FormDialog(const char* formName, const QString& caption, QWidget* parent = nullptr)
        : QDialog(parent) {
        setObjectName(formName);
        setWindowTitle(caption);
    }

    QString Tag;
};

}  // namespace corvane
