#include "StringTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace trelmo {
namespace {

struct Table {
    QHash<int, QString> english;
    QHash<int, QString> chinese;
};

const Table& TheTable()
{
    static const Table table = [] {
        Table t;
        QFile file(QStringLiteral(":/trelmo/strings.json"));
        if (!file.open(QIODevice::ReadOnly))
            return t;
        const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
        for (auto it = root.begin(); it != root.end(); ++it) {
            bool numeric = false;
            const int id = it.key().toInt(&numeric);
            if (!numeric)
                continue;
            const QJsonObject texts = it.value().toObject();
            t.english.insert(id, texts.value(QStringLiteral("en")).toString());
            t.chinese.insert(id, texts.value(QStringLiteral("zh_CN")).toString());
        }
        return t;
    }();
    return table;
}

LanguageVariant& Active()
{
    static LanguageVariant variant = SystemLanguageVariant();
    return variant;
}

} // namespace

LanguageVariant SystemLanguageVariant()
{
    // The first user-interface language (LANGUAGE, else LC_ALL / LC_MESSAGES / LANG on Unix).
    const QStringList languages = QLocale::system().uiLanguages();
    return VariantForLocale(languages.isEmpty() ? QLocale::system() : QLocale(languages.first()));
}

LanguageVariant VariantForLocale(const QLocale& locale)
{
    const bool chineseInChina = locale.language() == QLocale::Chinese
        && locale.script() == QLocale::SimplifiedHanScript;
    return chineseInChina ? LanguageVariant::Chinese : LanguageVariant::English;
}

LanguageVariant ActiveLanguage()
{
    return Active();
}

void SetActiveLanguage(LanguageVariant variant)
{
    Active() = variant;
}

QString LoadText(int id, LanguageVariant variant)
{
    const Table& t = TheTable();
    return (variant == LanguageVariant::Chinese ? t.chinese : t.english).value(id);
}

QString LoadText(int id)
{
    return LoadText(id, ActiveLanguage());
}

bool InstallToolkitTranslation(LanguageVariant variant)
{
    if (variant != LanguageVariant::Chinese || !QCoreApplication::instance())
        return false;
    static QTranslator* translator = nullptr;
    if (translator)
        return true;
    auto* loaded = new QTranslator(QCoreApplication::instance());
    if (!loaded->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete loaded;
        return false;
    }
    QCoreApplication::installTranslator(loaded);
    translator = loaded;
    return true;
}

} // namespace trelmo
