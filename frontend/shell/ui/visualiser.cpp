#include "frontend/shell/ui/visualiser.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointer>
#include <algorithm>

#include "frontend/app/app.h"
#include "frontend/editors/ui/frm_chord.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/shell/visualiser_rules.h"
#include "platform/qt/random_source.h"

namespace corvane::shell {
namespace {

constexpr float kRippleStartRadius = 20;

}  // namespace

Visualiser::Visualiser(FrmMain& main) : main_(main) {
    main_.Picture1->setToolTip("Click to Start the Color Demo");
    connect(main_.Picture1, &VisualiserBox::MouseUp, this, &Visualiser::Picture1_MouseUp);
    main_.PictIcon->installEventFilter(this);
}

bool Visualiser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == main_.PictIcon && event->type() == QEvent::MouseButtonRelease)
        PictIcon_MouseUp(ButtonBits(static_cast<QMouseEvent*>(event)->button()));
    return QObject::eventFilter(watched, event);
}

void Visualiser::Picture1_MouseUp(int) {
    bool& demoOff = App::Get().g.ColorDemoOff;
    VisualiserBox& box = *main_.Picture1;
    if (demoOff) {
        demoOff = false;
        box.setToolTip("Click to Stop the Color Demo");
    } else {
        demoOff = true;
        box.setToolTip("Click to Start the Color Demo");
        box.SetBackColor(box.BackColor());
    }
}

void Visualiser::PictIcon_MouseUp(int button) {
    CycleDemoColours(button);
}

void Visualiser::CycleDemoColours(int button) {
    const DemoColourCycle next = NextDemoColours({main_.DemoColourStep, DemoColourIndex}, button);
    main_.DemoColourStep = next.step;
    DemoColourIndex = next.index;
    const Colour colour = main_.DemoBackColours.at(static_cast<std::size_t>(DemoColourIndex));
    ClearWave2(colour);
    ShowFlatColour(colour);
}

int Visualiser::ChordRootIndex(int second) const {
    App& app = App::Get();
    editors::FrmChord& chord = app.frmChord();
    if (app.g.ChordListBusy || chord.LstTemp->count() == 0) return 0;
    const QTableWidgetItem* cell =
        chord.MSFlexGrid1->item(chord.MSFlexGrid1->currentRow(), second != 0 ? 3 : 2);
    return ChordRootOf(cell ? cell->text().toStdString() : std::string());
}

void Visualiser::ShowChordColour() {
    const QString bar = main_.LblHa->Caption();
    const bool demoOff = App::Get().g.ColorDemoOff;
    if (bar == "0" || bar == "End") {
        if (demoOff) {
            ShowFlatColour(main_.DemoDefaultColour);
        } else {
            StartRipple(main_.DemoDefaultColour);
        }
        return;
    }
    const int root = ChordRootIndex(1);
    if (root < 0) return;
    const Colour colour = main_.ChordColours.at(static_cast<std::size_t>(root));
    // The fore colour is the test in both modes, as the box has always done it.
    if (colour == main_.Picture1->ForeColor) return;
    if (demoOff) {
        ShowFlatColour(colour);
    } else {
        StartRipple(colour);
    }
}

void Visualiser::RandomFillStyle() {
    main_.Picture1->FillStyle = FillStyleFor(platform::qt::Rnd());
}

void Visualiser::NextDrawMode() {
    main_.Picture1->DrawMode = NextDrawModeAfter(main_.Picture1->DrawMode);
}

void Visualiser::ClearWave1() {
    if (!App::Get().g.ColorDemoOff && !DemoAtEnd) main_.Picture1->Cls();
}

void Visualiser::DemoStep() {
    const platform::qt::ValueBar& bar = *main_.CanGatOut[0];
    // The last two bars keep the picture as it is.
    if (bar.Value() > bar.Max() - 2) {
        DemoAtEnd = true;
        return;
    }
    DemoAtEnd = false;
    RippleGeometry& ripple = main_.Ripple;
    ripple.RippleStep = NextRippleStep(ripple.RippleStep);
    if (ripple.RippleRadius < ripple.RippleMaxRadius) {
        ripple.RippleRadius += ripple.RippleStep;
    } else {
        ClearWave1();
        ripple.RippleRadius = kRippleStartRadius;
    }
    VisualiserBox& box = *main_.Picture1;
    const int component = std::min(static_cast<int>(platform::qt::Rnd() * 3), 2);
    const Colour colour = WalkColour(box.ForeColor, component, main_.DemoColourStep);
    box.ForeColor = colour;
    box.FillColor = colour;
    box.Circle(ripple.RippleCentreX, ripple.RippleCentreY, ripple.RippleRadius);
}

void Visualiser::ClearWave2(Colour colour) {
    CoreGlobals& g = App::Get().g;
    if (g.ColorDemoOff || g.BusyFlags.RippleBusy) return;
    g.BusyFlags.RippleBusy = true;
    QPointer<VisualiserBox> box = main_.Picture1;
    const int drawMode = box->DrawMode;
    const int drawStyle = box->DrawStyle;
    const Colour foreColour = box->ForeColor;
    const Colour backColour = box->BackColor();
    const RippleGeometry& ripple = main_.Ripple;
    const float limit = ripple.RippleMaxRadius + 40;
    // False when the program began to close meanwhile (the Exit button, or the window closed
    // and hidden): the wipe gives way at once, so the shutdown never finds it drawing.
    auto rings = [&](Colour ringColour) {
        for (float r = kRippleStartRadius; r <= limit; r += 4) {
            box->DrawMode = 13;
            box->DrawStyle = 0;
            box->FillStyle = 1;
            box->ForeColor = ringColour;
            box->DrawWidth = 4;
            box->Circle(ripple.RippleCentreX, ripple.RippleCentreY, r);
            box->DrawWidth = 1;
            QCoreApplication::processEvents();
            if (box.isNull() || g.ProgramClosing || !box->isVisible()) return false;
        }
        return true;
    };
    if (rings(colour)) rings(backColour);
    if (!box.isNull()) {
        main_.Ripple.RippleRadius = kRippleStartRadius;
        box->DrawMode = drawMode;
        box->DrawStyle = drawStyle;
        box->FillStyle = 1;
        box->ForeColor = foreColour;
    }
    g.BusyFlags.RippleBusy = false;
}

void Visualiser::FlashSection() {
    VisualiserBox& box = *main_.Picture1;
    ClearWave2(0xFFFFFF - box.BackColor());
    box.FillStyle = 0;
    box.DrawStyle = 0;
}

void Visualiser::ShowFlatColour(Colour colour) {
    main_.Picture1->SetBackColor(colour);
    main_.SetBackColour(main_.PictIcon, colour);
}

void Visualiser::StartRipple(Colour colour) {
    main_.Picture1->ForeColor = colour;
    main_.Ripple.RippleRadius = kRippleStartRadius;
}

}  // namespace corvane::shell
