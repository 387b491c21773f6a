#include "core/text/text_collation.h"

#include "core/text/unicode_string.h"

#include <cstring>
#include <unicode/coll.h>
#include <unicode/locid.h>

namespace dw {

struct TextCollator::Impl {
    std::unique_ptr<icu::Collator> collator;
};

namespace {

// The user's locale as ICU reads it from the environment. The C and POSIX locales (no
// language chosen) read as "en_US_POSIX", whose collation is code point order with capitals
// first: the root order serves such a user better.
icu::Locale usersLocale() {
    const icu::Locale& locale = icu::Locale::getDefault();
    if (locale.isBogus() || std::strcmp(locale.getVariant(), "POSIX") == 0)
        return icu::Locale::getRoot();
    return locale;
}

} // namespace

TextCollator::TextCollator(const std::string& localeName) : impl_(std::make_unique<Impl>()) {
    const icu::Locale locale = localeName.empty() ? usersLocale() : icu::Locale(localeName.c_str());
    UErrorCode status = U_ZERO_ERROR;
    impl_->collator.reset(icu::Collator::createInstance(locale, status));
    if (U_FAILURE(status)) {
        // ICU without data for the locale: its root order still beats byte order.
        status = U_ZERO_ERROR;
        impl_->collator.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
    }
    if (U_FAILURE(status)) {
        impl_->collator.reset();
        return;
    }
    // Secondary strength: letters and accents count, letter case does not.
    impl_->collator->setStrength(icu::Collator::SECONDARY);
}

TextCollator::~TextCollator() = default;

int TextCollator::compare(std::string_view a, std::string_view b) const {
    const std::optional<icu::UnicodeString> ua = unicodeOfUtf8(a);
    const std::optional<icu::UnicodeString> ub = unicodeOfUtf8(b);
    if (!impl_->collator || !ua || !ub)
        return a.compare(b);
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = impl_->collator->compare(*ua, *ub, status);
    if (U_FAILURE(status))
        return a.compare(b);
    return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

const TextCollator& userCollator() {
    static const TextCollator collator;
    return collator;
}

} // namespace dw
