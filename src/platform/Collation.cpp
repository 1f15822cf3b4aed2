#include "platform/Collation.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <stdexcept>
#include <vector>

#include "platform/Cp932.h"

namespace tovix {
namespace {

// Hyphens (ASCII and U+2010) and apostrophes (ASCII and U+2019) become
// completely ignorable.
const char16_t kIgnorableRules[] = u"&[last tertiary ignorable] = '-' = '' = \u2010 = \u2019";

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

CollatorPtr OpenDictionaryCollator() {
    UErrorCode err = U_ZERO_ERROR;
    CollatorPtr ja(ucol_open("ja", &err));
    if (U_FAILURE(err)) {
        throw std::runtime_error("Japanese collation unavailable");
    }
    int32_t jaLength = 0;
    const UChar* jaRules = ucol_getRules(ja.get(), &jaLength);
    std::u16string rules(reinterpret_cast<const char16_t*>(jaRules), static_cast<size_t>(jaLength));
    rules += kIgnorableRules;

    UParseError parseError;
    CollatorPtr collator(ucol_openRules(reinterpret_cast<const UChar*>(rules.data()),
                                        static_cast<int32_t>(rules.size()), UCOL_DEFAULT,
                                        UCOL_SECONDARY, &parseError, &err));
    if (U_FAILURE(err)) {
        throw std::runtime_error("dictionary collation rules rejected");
    }
    ucol_setAttribute(collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &err);
    ucol_setAttribute(collator.get(), UCOL_CASE_LEVEL, UCOL_OFF, &err);
    if (U_FAILURE(err)) {
        throw std::runtime_error("dictionary collation set-up failed");
    }
    return collator;
}

// Building the collator from its rules takes a noticeable fraction of a
// second, so it is built once per process and cloned for each instance.
CollatorPtr CloneDictionaryCollator() {
    static const CollatorPtr prototype = OpenDictionaryCollator();
    UErrorCode err = U_ZERO_ERROR;
    CollatorPtr clone(ucol_clone(prototype.get(), &err));
    if (U_FAILURE(err)) {
        throw std::runtime_error("dictionary collation clone failed");
    }
    return clone;
}

}  // namespace

struct Collation::Impl {
    CollatorPtr collator = CloneDictionaryCollator();
    std::u16string a;
    std::u16string b;
    std::vector<uint8_t> key;
};

Collation::Collation() : impl_(std::make_unique<Impl>()) {}
Collation::~Collation() = default;

int Collation::Compare(std::string_view a, std::string_view b) {
    impl_->a = Cp932ToUtf16(a);
    impl_->b = Cp932ToUtf16(b);
    UCollationResult r = ucol_strcoll(
        impl_->collator.get(), reinterpret_cast<const UChar*>(impl_->a.data()),
        static_cast<int32_t>(impl_->a.size()), reinterpret_cast<const UChar*>(impl_->b.data()),
        static_cast<int32_t>(impl_->b.size()));
    if (r != UCOL_EQUAL) {
        return r == UCOL_LESS ? -1 : 1;
    }
    return a.compare(b);
}

void Collation::AppendSortKey(std::string_view line, std::string& key) {
    impl_->a = Cp932ToUtf16(line);
    const UChar* text = reinterpret_cast<const UChar*>(impl_->a.data());
    auto length = static_cast<int32_t>(impl_->a.size());
    std::vector<uint8_t>& buffer = impl_->key;
    if (buffer.size() < 64) {
        buffer.resize(256);
    }
    int32_t needed = ucol_getSortKey(impl_->collator.get(), text, length, buffer.data(),
                                     static_cast<int32_t>(buffer.size()));
    if (needed > static_cast<int32_t>(buffer.size())) {
        buffer.resize(static_cast<size_t>(needed));
        needed = ucol_getSortKey(impl_->collator.get(), text, length, buffer.data(), needed);
    }
    // The ICU key ends with its only zero byte, so appending the line's own
    // bytes breaks ties without disturbing the collation order.
    key.append(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(needed));
    key.append(line);
}

std::string Collation::SortKey(std::string_view line) {
    std::string key;
    AppendSortKey(line, key);
    return key;
}

}  // namespace tovix
