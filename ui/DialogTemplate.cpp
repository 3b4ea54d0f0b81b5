#include "DialogTemplate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QTreeWidget>

#include <algorithm>
#include <map>

namespace trelmo {
namespace {

const char* const kControlIdProperty = "controlId";

// A rect is either one value for both variants or an object keyed by variant (English as fallback).
QRect VariantRect(const QJsonValue& value, const QString& key)
{
    QJsonValue chosen = value;
    if (value.isObject()) {
        const QJsonObject byVariant = value.toObject();
        chosen = byVariant.contains(key) ? byVariant.value(key) : byVariant.value(QStringLiteral("en"));
    }
    const QJsonArray a = chosen.toArray();
    if (a.size() != 4)
        return {};
    return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
}

// Breaks a button caption into lines at blanks so that it fits the button's inner width.
QString WrapToWidth(const QString& text, const QFontMetrics& metrics, int width)
{
    const QStringList words = text.split(QLatin1Char(' '));
    QStringList lines;
    QString line;
    for (const QString& word : words) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
            lines << line;
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines.join(QLatin1Char('\n'));
}

// A list box of text lines as a one-column table view without headers: unlike a list view it does not lay out
// every row again when rows are added, so it stays fast with millions of lines. The owner sets the model.
QTableView* CreateLineList(QDialog* dialog)
{
    auto* list = new QTableView(dialog);
    list->horizontalHeader()->hide();
    list->verticalHeader()->hide();
    list->setShowGrid(false);
    list->setWordWrap(false);
    list->setTextElideMode(Qt::ElideNone);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setTabKeyNavigation(false);
    const int rowHeight = list->fontMetrics().height();
    list->verticalHeader()->setMinimumSectionSize(rowHeight);
    list->verticalHeader()->setDefaultSectionSize(rowHeight);
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    return list;
}

QWidget* CreateControl(const ControlTemplate& control, QDialog* dialog, const DialogUnits& units)
{
    const QRect pixels = units.ToPixels(control.rect);
    QWidget* widget = nullptr;
    const QString& kind = control.kind;
    if (kind == QLatin1String("button") || kind == QLatin1String("defbutton")) {
        auto* button = new QPushButton(dialog);
        const int innerWidth = pixels.width() - 8;
        const bool wrap = control.HasFlag(QStringLiteral("wrap"))
            && button->fontMetrics().horizontalAdvance(control.text) > innerWidth;
        button->setText(wrap ? WrapToWidth(control.text, button->fontMetrics(), innerWidth) : control.text);
        button->setAccessibleName(StripMnemonic(control.text));
        button->setDefault(kind == QLatin1String("defbutton"));
        widget = button;
    } else if (kind == QLatin1String("check")) {
        auto* check = new QCheckBox(control.text, dialog);
        check->setAccessibleName(StripMnemonic(control.text));
        widget = check;
    } else if (kind == QLatin1String("static")) {
        auto* label = new QLabel(control.text, dialog);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(control.HasFlag(QStringLiteral("wrap")));
        widget = label;
    } else if (kind == QLatin1String("edit")) {
        auto* edit = new QLineEdit(control.text, dialog);
        edit->setReadOnly(control.HasFlag(QStringLiteral("readonly")));
        if (control.HasFlag(QStringLiteral("digits")))
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        const QString maxLengthFlag = control.flags.filter(QStringLiteral("maxlen:")).value(0); // "maxlen:2"
        const int maxLength = maxLengthFlag.section(QLatin1Char(':'), 1).toInt();
        if (maxLength > 0)
            edit->setMaxLength(maxLength);
        widget = edit;
    } else if (kind == QLatin1String("multiedit")) {
        auto* edit = new QPlainTextEdit(control.text, dialog);
        edit->setReadOnly(control.HasFlag(QStringLiteral("readonly")));
        edit->setLineWrapMode(control.HasFlag(QStringLiteral("wrap")) ? QPlainTextEdit::WidgetWidth
                                                                      : QPlainTextEdit::NoWrap);
        edit->setVerticalScrollBarPolicy(control.HasFlag(QStringLiteral("vscroll")) ? Qt::ScrollBarAsNeeded
                                                                                    : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(control.HasFlag(QStringLiteral("hscroll")) ? Qt::ScrollBarAsNeeded
                                                                                      : Qt::ScrollBarAlwaysOff);
        edit->setTabChangesFocus(true);
        widget = edit;
    } else if (kind == QLatin1String("combo")) {
        widget = new QComboBox(dialog);
    } else if (kind == QLatin1String("list")) {
        widget = CreateLineList(dialog);
    } else if (kind == QLatin1String("report")) {
        auto* report = new QTreeWidget(dialog);
        report->setRootIsDecorated(false);
        report->setUniformRowHeights(true);
        widget = report;
    } else if (kind == QLatin1String("grid")) {
        widget = new QTableView(dialog);
    } else if (kind == QLatin1String("vline")) {
        auto* line = new QFrame(dialog);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        widget = line;
    } else if (kind == QLatin1String("bitmap")) {
        auto* picture = new QLabel(dialog);
        picture->setPixmap(QPixmap(control.image));
        widget = picture;
    } else {
        widget = new QWidget(dialog);
    }

    QRect geometry = pixels;
    if (kind == QLatin1String("combo")) // a drop-down's template height includes its open list
        geometry.setHeight(widget->sizeHint().height());
    if (kind == QLatin1String("bitmap"))
        geometry.setSize(widget->sizeHint());
    widget->setGeometry(geometry);
    widget->setProperty(kControlIdProperty, control.id);
    if (control.id > 0)
        widget->setObjectName(QStringLiteral("control%1").arg(control.id));
    if (!control.accessibleName.isEmpty())
        widget->setAccessibleName(control.accessibleName);
    widget->setVisible(!control.HasFlag(QStringLiteral("hidden")));
    widget->setEnabled(!control.HasFlag(QStringLiteral("disabled")));
    return widget;
}

} // namespace

QString StripMnemonic(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

DialogTemplate DialogTemplate::Load(int id, LanguageVariant variant)
{
    DialogTemplate result;
    QFile file(QStringLiteral(":/trelmo/dialogs/%1.json").arg(id));
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    const QString key = variant == LanguageVariant::Chinese ? QStringLiteral("zh_CN") : QStringLiteral("en");
    const QJsonObject variants = root.value(QStringLiteral("variants")).toObject();
    const QJsonObject english = variants.value(QStringLiteral("en")).toObject();
    const QJsonObject chosen = variants.contains(key) ? variants.value(key).toObject() : english;
    auto setting = [&](const char* name) {
        const QString field = QString::fromLatin1(name);
        return chosen.contains(field) ? chosen.value(field) : english.value(field);
    };

    result.id = id;
    result.captionId = root.value(QStringLiteral("caption")).toString();
    result.caption = LoadText(result.captionId, variant);
    const QJsonArray size = setting("size").toArray();
    result.size = QSize(size.at(0).toInt(), size.at(1).toInt());
    const QJsonArray font = setting("font").toArray();
    result.fontFamily = font.at(0).toString();
    result.fontPointSize = font.at(1).toInt(9);

    for (const QJsonValue& value : root.value(QStringLiteral("controls")).toArray()) {
        const QJsonObject object = value.toObject();
        ControlTemplate control;
        control.id = object.value(QStringLiteral("id")).toInt(-1);
        control.kind = object.value(QStringLiteral("kind")).toString();
        control.rect = VariantRect(object.value(QStringLiteral("rect")), key);
        control.textId = object.value(QStringLiteral("text")).toString();
        control.text = LoadText(control.textId, variant);
        control.accessibleNameId = object.value(QStringLiteral("name")).toString();
        control.accessibleName = LoadText(control.accessibleNameId, variant);
        for (const QJsonValue& flag : object.value(QStringLiteral("flags")).toArray())
            control.flags << flag.toString();
        control.buddy = object.value(QStringLiteral("buddy")).toInt(0);
        control.image = object.value(QStringLiteral("image")).toString();
        result.controls.push_back(control);
    }
    return result;
}

const ControlTemplate* DialogTemplate::Find(int controlId) const
{
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [controlId](const ControlTemplate& control) { return control.id == controlId; });
    return found == controls.end() ? nullptr : &*found;
}

QFont ResolveTemplateFont(const QString& family, int pointSize)
{
    QFont font(family, pointSize);
    if (QFontInfo(font).family().compare(family, Qt::CaseInsensitive) == 0)
        return font;
    QStringList candidates;
    if (family == QLatin1String("SimSun") || family == QLatin1String("NSimSun")) {
        candidates = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Droid Sans Fallback")};
    } else if (family.contains(QLatin1String("Times"), Qt::CaseInsensitive)) {
        candidates = {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif"),
                      QStringLiteral("Noto Serif")};
        font.setStyleHint(QFont::Serif);
    } else {
        candidates = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans")};
        font.setStyleHint(QFont::SansSerif);
    }
    const QStringList families = QFontDatabase::families();
    const auto installed = std::find_if(candidates.begin(), candidates.end(), [&families](const QString& candidate) {
        return families.contains(candidate, Qt::CaseInsensitive);
    });
    if (installed != candidates.end())
        font.setFamily(*installed);
    return font;
}

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    bx_ = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    by_ = metrics.height();
}

QRect DialogUnits::ToPixels(const QRect& r) const
{
    return QRect(X(r.x()), Y(r.y()), X(r.width()), Y(r.height()));
}

QSize DialogUnits::ToPixels(const QSize& s) const
{
    return QSize(X(s.width()), Y(s.height()));
}

void BuildDialogFromTemplate(QDialog* dialog, const DialogTemplate& dialogTemplate)
{
    const QFont font = ResolveTemplateFont(dialogTemplate.fontFamily, dialogTemplate.fontPointSize);
    dialog->setFont(font);
    dialog->setWindowTitle(dialogTemplate.caption);
    dialog->setProperty(kControlIdProperty, dialogTemplate.id);
    const DialogUnits units(font);
    dialog->setFixedSize(units.ToPixels(dialogTemplate.size));

    std::map<int, QWidget*> byId;
    std::vector<std::pair<QLabel*, int>> labels;
    QWidget* previousFocusable = nullptr;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        QWidget* widget = CreateControl(control, dialog, units);
        if (control.id > 0)
            byId[control.id] = widget;
        if (auto* label = qobject_cast<QLabel*>(widget); label && control.buddy > 0)
            labels.emplace_back(label, control.buddy);
        if (widget->focusPolicy() != Qt::NoFocus) { // labels, the line and the picture take no focus
            if (previousFocusable)
                QWidget::setTabOrder(previousFocusable, widget);
            previousFocusable = widget;
        }
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            if (control.id == 1)
                QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::accept);
            else if (control.id == 2)
                QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::reject);
        }
    }
    for (const auto& [label, buddyId] : labels) {
        const auto it = byId.find(buddyId);
        if (it == byId.end())
            continue;
        label->setBuddy(it->second);
        if (it->second->accessibleName().isEmpty())
            it->second->setAccessibleName(StripMnemonic(label->text()));
    }
}

QWidget* FindControl(const QWidget* root, int controlId)
{
    const QList<QWidget*> children = root->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (controlId > 0 && child->property(kControlIdProperty) == QVariant(controlId))
            return child;
    }
    return nullptr;
}

} // namespace trelmo
