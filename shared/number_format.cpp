#include "shared/number_format.h"

#include <clocale>
#include <locale>
#include <string>

namespace {

template <typename Char>
class NumberPunctuation : public std::numpunct<Char> {
protected:
    Char do_decimal_point() const override { return Char('.'); }
    Char do_thousands_sep() const override { return Char(' '); }
    std::string do_grouping() const override { return {}; }
};

}  // namespace

void SetProcessNumberFormat() {
    std::setlocale(LC_NUMERIC, "C");
    // A locale built from facets has no name, so installing it leaves the C
    // runtime's categories as set above.
    std::locale::global(std::locale(std::locale(std::locale::classic(), new NumberPunctuation<char>),
                                    new NumberPunctuation<wchar_t>));
}
