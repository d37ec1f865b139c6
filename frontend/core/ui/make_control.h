// Creating a form's control the way a form designer would: a child of the form with its
// control name as object name (array elements as "LblEcho_0") and its place in pixels.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <array>

namespace corvane {

template <class Control>
Control* MakeControl(QWidget* form, const QString& name, const QRect& place = {}) {
    auto* control = new Control(form);
    control->setObjectName(name);
    if (place.isValid()) control->setGeometry(place);
    return control;
}

// Element i of a control array gets the name "<name>_<i>".
inline QString ElementName(const QString& name, int index) {
    return name + "_" + QString::number(index);
}

// Controls without a place on the window (hidden scroll bars, timers) still carry a name.
template <class Object>
Object* MakeObject(QObject* owner, const QString& name) {
    auto* object = new Object(owner);
    object->setObjectName(name);
    return object;
}

}  // namespace corvane
