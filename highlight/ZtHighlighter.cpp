// What every highlighter shares: its attributes, its change listeners,
// name comparison and the word-break characters of the line scan.

#include "ZtHighlighter.h"

#include <algorithm>
#include <stdexcept>

namespace quorvex {

namespace {

constexpr unsigned char FoldCase(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Byte order with the case of ASCII letters ignored.
int CompareNames(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = FoldCase(static_cast<unsigned char>(a[i]));
        const unsigned char y = FoldCase(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::bitset<256> MakeWordBreakChars()
{
    std::bitset<256> chars;
    for (unsigned char c : std::string_view("!\"'()*+,-./:;=?[\\]^{|}")) chars.set(c);
    return chars;
}

} // namespace

TZtHighlighterAttributes::TZtHighlighterAttributes(std::string name)
    : FName(std::move(name))
{ }

void TZtHighlighterAttributes::SetForeground(std::optional<TZtColor> colour)
{
    if (colour == FForeground) return;
    FForeground = colour;
    Changed();
}

void TZtHighlighterAttributes::SetBackground(std::optional<TZtColor> colour)
{
    if (colour == FBackground) return;
    FBackground = colour;
    Changed();
}

void TZtHighlighterAttributes::SetStyle(TZtFontStyles style)
{
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

void TZtHighlighterAttributes::Changed() const
{
    if (FOnChange) FOnChange();
}

TZtCustomHighlighter::TZtCustomHighlighter()
    : FWordBreakChars(MakeWordBreakChars())
{ }

// The attributes call back into this object; silence them before it goes.
TZtCustomHighlighter::~TZtCustomHighlighter()
{
    for (auto& attribute : FAttributes) attribute->SetChangeCallback(nullptr);
}

int TZtCustomHighlighter::AttributeCount() const
{
    return static_cast<int>(FAttributes.size());
}

TZtHighlighterAttributes* TZtCustomHighlighter::Attribute(int index) const
{
    if (index < 0 || index >= AttributeCount()) return nullptr;
    return FAttributes[static_cast<std::size_t>(index)].get();
}

TZtHighlighterAttributes* TZtCustomHighlighter::AddAttribute(
    std::unique_ptr<TZtHighlighterAttributes> attribute)
{
    if (!attribute) throw std::invalid_argument("No attribute given");
    const auto place = std::lower_bound(FAttributes.begin(), FAttributes.end(), attribute->Name(),
        [](const auto& present, const std::string& name) { return CompareNames(present->Name(), name) < 0; });
    if (place != FAttributes.end() && CompareNames((*place)->Name(), attribute->Name()) == 0)
        throw std::invalid_argument("Attribute \"" + attribute->Name() + "\" already exists");
    attribute->SetChangeCallback([this] { NotifyListeners(); });
    return FAttributes.insert(place, std::move(attribute))->get();
}

int TZtCustomHighlighter::AddChangeListener(TChangeListener listener)
{
    const int handle = FNextHandle++;
    FListeners.push_back({handle, std::move(listener)});
    return handle;
}

void TZtCustomHighlighter::RemoveChangeListener(int handle)
{
    std::erase_if(FListeners, [handle](const TListener& listener) { return listener.Handle == handle; });
}

void TZtCustomHighlighter::SetEnabled(bool enabled)
{
    if (enabled == FEnabled) return;
    FEnabled = enabled;
    NotifyListeners();
}

// A listener may add or withdraw listeners while it runs: the round works on
// a copy, skips those withdrawn meanwhile and leaves new ones for the next.
void TZtCustomHighlighter::NotifyListeners()
{
    const std::vector<TListener> round = FListeners;
    for (const TListener& listener : round) {
        const bool stillRegistered = std::any_of(FListeners.begin(), FListeners.end(),
            [&](const TListener& l) { return l.Handle == listener.Handle; });
        if (stillRegistered && listener.Call) listener.Call(*this);
    }
}

void TZtCustomHighlighter::ScanToLineEnd()
{
    while (!AtLineEnd()) NextToken();
}

} // namespace quorvex
