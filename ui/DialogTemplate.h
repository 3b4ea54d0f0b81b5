#pragma once
// Dialog templates: windows described as data (resources/dialogs/<id>.json) in dialog units, in both language
// variants, turned into Qt widgets the way the platform's dialog manager lays them out. The templates hold no
// texts: captions, control texts and accessible names are string ids of the translation catalogue.
//
// File format (one file per template):
// {
//   "id": 134,
//   "caption": "dlg.134.caption",
//   "variants": {
//     "en":    { "size": [w, h], "font": ["Times New Roman", 10] },
//     "zh_CN": { "size": [w, h], "font": ["SimSun", 9] }   // missing settings: English
//   },
//   "controls": [   // in tab order
//     { "id": 1001, "kind": "combo", "rect": [x, y, w, h], "flags": ["disabled"],
//       "text": "dlg.134.1001",          // string id of the control's text
//       (a "rect" may be { "en": [x, y, w, h], "zh_CN": [x, y, w, h] })
//       "name": "dlg.134.1001.name" }   // string id of the accessible name where no label names the control
//   ]
// }
// Kinds: button, defbutton, check, static, edit, multiedit, combo, list, report, grid, vline, bitmap.
// Flags: hidden, disabled, readonly, digits, maxlen:<n>, wrap, vscroll, hscroll, border, noprefix.
// A static with "buddy": <id> is that control's label: the control's accessible name is the label's text.
// Controls without id get id -1. Every control carries its id in the property "controlId".

#include "StringTable.h"

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

class QDialog;
class QWidget;

namespace trelmo {

struct ControlTemplate {
    int id = -1;
    QString kind;
    QRect rect;         // dialog units
    QString textId;     // string id of the text, empty for none
    QString text;       // in the chosen variant
    QString accessibleNameId;
    QString accessibleName;
    QStringList flags;
    int buddy = 0;      // for statics: the id of the control they label
    QString image;      // for bitmaps: resource path
    bool HasFlag(const QString& flag) const { return flags.contains(flag); }
};

struct DialogTemplate {
    int id = 0;
    QString captionId;
    QString caption;
    QSize size;         // dialog units
    QString fontFamily;
    int fontPointSize = 9;
    std::vector<ControlTemplate> controls;

    // Loads :/trelmo/dialogs/<id>.json in the given variant; an unknown id gives an empty template.
    static DialogTemplate Load(int id, LanguageVariant variant = ActiveLanguage());
    const ControlTemplate* Find(int controlId) const;
};

// The font a template names, or the nearest installed family (sans, serif, a CJK font) at the same size.
QFont ResolveTemplateFont(const QString& family, int pointSize);

// Horizontal base unit = average character width of the font, vertical = its height; x px = x * bx / 4,
// y px = y * by / 8 (rounded as the platform's MulDiv does).
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseX, int baseY) : bx_(baseX), by_(baseY) {}
    int X(int dialogUnits) const { return (dialogUnits * bx_ + 2) / 4; }
    int Y(int dialogUnits) const { return (dialogUnits * by_ + 4) / 8; }
    QRect ToPixels(const QRect& dialogUnits) const;
    QSize ToPixels(const QSize& dialogUnits) const;

private:
    int bx_;
    int by_;
};

// Builds the template's controls as children of the dialog: caption, font, fixed client size, positions, tab
// order, labels as accessible names. Buttons with id 1 and 2 are wired to accept() and reject().
void BuildDialogFromTemplate(QDialog* dialog, const DialogTemplate& dialogTemplate);

// The text without its mnemonic markers ("&Save" -> "Save", "&&" -> "&"): what a screen reader should say.
QString StripMnemonic(QString text);

// The child widget with the given control id (nullptr when there is none).
QWidget* FindControl(const QWidget* root, int controlId);
template <typename T>
T* Control(const QWidget* root, int controlId)
{
    return qobject_cast<T*>(FindControl(root, controlId));
}

} // namespace trelmo
