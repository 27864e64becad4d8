// Small builders shared by the windows, so every number field, caption and unit looks and
// aligns the same way. Widgets that show a control get the control's name as objectName.
#pragma once

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMargins>
#include <QRect>
#include <QVBoxLayout>
#include <QWidget>

namespace coldroom {

// A number input: right-aligned, narrow, named after its control.
QLineEdit* NumberField(const char* name, int width = 72);
// A result display: read-only, right-aligned, with a flat look that sets it apart from inputs.
QLineEdit* ResultField(const char* name, int width = 86);
// A drop-down list named after its control.
QComboBox* ListField(const char* name, int minimumWidth = 120);
// A caption. `name` is empty for fixed texts no form knows about; captions that a form
// enables or disables carry the control's name.
QLabel* CaptionLabel(const QString& text, const char* name = nullptr, bool wrap = false);
// A unit shown after a value ("°C", "Вт").
QLabel* UnitLabel(const QString& text);
// A label that shows a value the form writes (the product summary, the times).
QLabel* ValueLabel(const char* name);
QGroupBox* Frame(const QString& title, const char* name = nullptr);
// The confirm and cancel buttons of a dialog in the platform's order: "OK_btn", the default
// button, and "Cancel_btn". Enter presses the button with the focus, else the default one;
// in a bound text field it only commits the field (the binder sees to that).
QDialogButtonBox* DialogButtons(const QString& okCaption, const QString& cancelCaption, int minimumWidth);
// Caption, field and unit on one row of a grid; the unit follows the field's enabled state.
QLineEdit* AddNumberRow(QGridLayout* grid, int row, QLabel* caption, QLineEdit* field, const QString& unit = {});
// A box or grid layout with its spacing, and the same margin on every side when it is set on
// `owner` (a negative margin keeps the style's).
template <class Layout> Layout* Spaced(int spacing, QWidget* owner = nullptr, int margin = -1) {
    auto* layout = owner ? new Layout(owner) : new Layout;
    if (margin >= 0) layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(spacing);
    return layout;
}
// A long column head on two lines, broken at the blank nearest its middle, so that a table's
// columns are as wide as their figures rather than their heads.
QString TwoLineHead(const QString& head);
// Shows a window (back from minimised), raises it and gives it the focus.
void BringToFront(QWidget& window);
// The sign of every print command: the theme's, else a printer with a sheet coming out.
QIcon PrinterIcon();
// Keeps `follower` (a unit, a note) enabled exactly when `source` (its field) is.
void FollowEnabled(QWidget* source, QWidget* follower);

// A window's outer rectangle (title bar and borders included) made to fit `available`: no
// larger than it, and moved inside it where it sticks out.
QRect FitFrame(const QRect& frame, const QRect& available);
// Shrinks a top-level window, title bar included, to the free area of the screen it opens on
// (its parent's screen for a dialog), so that no edge or button is out of reach on a small
// screen. Call before the window is first shown. `frame` is the title bar and borders when
// the caller knows them; otherwise they are taken from the platform or estimated.
void FitToScreen(QWidget& window, QMargins frame = {});

}  // namespace coldroom
