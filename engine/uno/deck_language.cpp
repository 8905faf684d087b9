#include "engine/uno/deck_language.h"

#include "engine/uno/deck_properties.h"
#include "engine/uno/uno_values.h"

#include <QLocale>

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/configuration/theDefaultProvider.hpp>
#include <com/sun/star/container/XNameReplace.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/util/XChangesBatch.hpp>
#include <optional>
#include <utility>

using namespace css;
using uno::Any;
using uno::Reference;
using uno::UNO_QUERY_THROW;

namespace {

// The locale name's language and country codes ("nb", "NO"; the country may
// be empty), or none for a name of no language ("C", "").
std::optional<std::pair<QString, QString>> codesOf(const QString& locale)
{
    const QLocale language(locale);
    if (language.language() == QLocale::C)
        return std::nullopt;
    return std::pair{
        QLocale::languageToCode(language.language()),
        language.territory() == QLocale::AnyTerritory ? QString() : QLocale::territoryToCode(language.territory())};
}

bool applyLanguage(const Reference<lang::XComponent>& document, const QString& locale)
{
    const auto codes = codesOf(locale);
    if (!codes)
        return false;
    Reference<beans::XPropertySet>(document, UNO_QUERY_THROW)
        ->setPropertyValue("CharLocale", Any(lang::Locale(toUno(codes->first), toUno(codes->second), {})));
    return true;
}

// The engine's locale setting, which it writes into its profile.
class EngineLocale {
public:
    explicit EngineLocale(const Reference<uno::XComponentContext>& engine)
    {
        uno::Sequence<Any> node(1);
        node.getArray()[0] <<= beans::NamedValue("nodepath", Any(rtl::OUString("/org.openoffice.Setup/L10N")));
        mSettings.set(configuration::theDefaultProvider::get(engine)->createInstanceWithArguments(
                          "com.sun.star.configuration.ConfigurationUpdateAccess", node),
                      UNO_QUERY_THROW);
    }

    rtl::OUString get() const { return mSettings->getByName("ooSetupSystemLocale").get<rtl::OUString>(); }

    void set(const rtl::OUString& locale)
    {
        mSettings->replaceByName("ooSetupSystemLocale", Any(locale));
        Reference<util::XChangesBatch>(mSettings, UNO_QUERY_THROW)->commitChanges();
    }

private:
    Reference<container::XNameReplace> mSettings;
};

}  // namespace

void setDeckLanguage(const Reference<lang::XComponent>& document, const QString& locale)
{
    if (applyLanguage(document, locale))
        DeckProperties::write(document, DeckProperties::language, locale);
}

void restoreDeckLanguage(const Reference<lang::XComponent>& document)
{
    applyLanguage(document, DeckProperties::read(document, DeckProperties::language));
}

void engineInDeckLanguage(const Reference<uno::XComponentContext>& engine, const Reference<lang::XComponent>& document)
{
    const auto codes = codesOf(DeckProperties::read(document, DeckProperties::language));
    if (!codes)
        return;
    const auto& [code, country] = *codes;
    const rtl::OUString tag = toUno(country.isEmpty() ? code : code + QLatin1Char('-') + country);
    EngineLocale setting(engine);
    if (setting.get() != tag)
        setting.set(tag);
}
