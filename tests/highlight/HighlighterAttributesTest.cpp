// Attributes, the attribute list and change notification.
#include "ZtHtmlHighlighter.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace quorvex {
namespace {

// A scanner-less highlighter to reach the protected list operations.
class TListOnly : public TZtCustomHighlighter {
public:
    using TZtCustomHighlighter::AddAttribute;
    void ResetScanState() override { }
    int ScanState() const override { return 0; }
    void SetScanState(int) override { }
    void StartLine(std::string_view, int) override { }
    void NextToken() override { }
    bool AtLineEnd() const override { return true; }
    int TokenStart() const override { return 0; }
    int TokenLength() const override { return 0; }
    std::string TokenText() const override { return {}; }
    int TokenKind() const override { return 0; }
    TZtHighlighterAttributes* TokenAttributes() const override { return nullptr; }
    TZtHighlighterAttributes* DefaultAttributes(int) const override { return nullptr; }
    std::bitset<256> WordChars() const override { return {}; }
    std::string LanguageName() const override { return {}; }
};

std::vector<std::string> Names(const TZtCustomHighlighter& highlighter)
{
    std::vector<std::string> names;
    for (int i = 0; i < highlighter.AttributeCount(); ++i) names.push_back(highlighter.Attribute(i)->Name());
    return names;
}

TEST(HighlighterAttributes, HtmlAttributesSortedByName)
{
    const TZtHtmlHighlighter highlighter;
    EXPECT_EQ(Names(highlighter),
        (std::vector<std::string>{"Asp", "Comment", "Escape ampersand", "Identifier", "Reserved word",
            "Space", "Symbol", "Text", "Unknown word", "Value"}));
    EXPECT_EQ(highlighter.Attribute(-1), nullptr);
    EXPECT_EQ(highlighter.Attribute(10), nullptr);
    EXPECT_EQ(highlighter.Attribute(2), highlighter.AndAttri());
}

TEST(HighlighterAttributes, HtmlAttributeLooks)
{
    const TZtHtmlHighlighter h;
    struct TLook {
        TZtHighlighterAttributes* Attribute;
        const char* Name;
        TZtFontStyles Style;
        std::optional<TZtColor> Foreground, Background;
    };
    const TLook looks[] = {
        {h.ASPAttri(), "Asp", 0, TZtColor{0, 0, 0}, TZtColor{255, 255, 0}},
        {h.CommentAttri(), "Comment", 0, std::nullopt, std::nullopt},
        {h.IdentifierAttri(), "Identifier", fsBold, std::nullopt, std::nullopt},
        {h.KeyAttri(), "Reserved word", fsBold, TZtColor{128, 0, 255}, std::nullopt},
        {h.SpaceAttri(), "Space", 0, std::nullopt, std::nullopt},
        {h.SymbolAttri(), "Symbol", fsBold, std::nullopt, std::nullopt},
        {h.TextAttri(), "Text", 0, std::nullopt, std::nullopt},
        {h.UndefKeyAttri(), "Unknown word", fsBold, TZtColor{255, 0, 0}, std::nullopt},
        {h.ValueAttri(), "Value", 0, TZtColor{0, 128, 255}, std::nullopt},
        {h.AndAttri(), "Escape ampersand", fsBold, TZtColor{0, 255, 0}, std::nullopt},
    };
    for (const TLook& look : looks) {
        ASSERT_NE(look.Attribute, nullptr) << look.Name;
        EXPECT_EQ(look.Attribute->Name(), look.Name);
        EXPECT_EQ(look.Attribute->Style(), look.Style) << look.Name;
        EXPECT_EQ(look.Attribute->Foreground(), look.Foreground) << look.Name;
        EXPECT_EQ(look.Attribute->Background(), look.Background) << look.Name;
    }
}

TEST(HighlighterAttributes, ListRefusesNamesThatDifferOnlyInCase)
{
    TListOnly list;
    list.AddAttribute(std::make_unique<TZtHighlighterAttributes>("beta"));
    list.AddAttribute(std::make_unique<TZtHighlighterAttributes>("Alpha"));
    list.AddAttribute(std::make_unique<TZtHighlighterAttributes>("Gamma"));
    list.AddAttribute(std::make_unique<TZtHighlighterAttributes>("alpha2"));
    EXPECT_THROW(
        list.AddAttribute(std::make_unique<TZtHighlighterAttributes>("BETA")), std::invalid_argument);
    EXPECT_THROW(
        list.AddAttribute(std::make_unique<TZtHighlighterAttributes>("alpha")), std::invalid_argument);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Alpha", "alpha2", "beta", "Gamma"}));
}

TEST(HighlighterNotification, OnlyRealChangesNotify)
{
    TZtHtmlHighlighter h;
    int calls = 0;
    h.AddChangeListener([&](TZtCustomHighlighter& source) {
        EXPECT_EQ(&source, &h);
        ++calls;
    });
    TZtHighlighterAttributes& key = *h.KeyAttri();
    key.SetForeground(TZtColor{128, 0, 255});
    key.SetBackground(std::nullopt);
    key.SetStyle(fsBold);
    EXPECT_EQ(calls, 0);
    key.SetForeground(TZtColor{128, 0, 254});
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(key.Foreground(), (TZtColor{128, 0, 254}));
    key.SetForeground(std::nullopt);
    key.SetBackground(TZtColor{1, 2, 3});
    key.SetStyle(fsBold | fsItalic | fsUnderline | fsStrikeOut);
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(key.Style(), 15u);
    h.SetEnabled(true);
    EXPECT_EQ(calls, 4);
    h.SetEnabled(false);
    EXPECT_FALSE(h.Enabled());
    h.SetEnabled(false);
    EXPECT_EQ(calls, 5);
}

TEST(HighlighterNotification, ListenersInOrderOnceEach)
{
    TZtHtmlHighlighter h;
    std::vector<int> order;
    const int first = h.AddChangeListener([&](TZtCustomHighlighter&) { order.push_back(1); });
    const int second = h.AddChangeListener([&](TZtCustomHighlighter&) { order.push_back(2); });
    const int third = h.AddChangeListener([&](TZtCustomHighlighter&) { order.push_back(3); });
    EXPECT_NE(first, second);
    h.TextAttri()->SetStyle(fsItalic);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    order.clear();
    h.RemoveChangeListener(second);
    h.RemoveChangeListener(12345);
    h.SetEnabled(false);
    EXPECT_EQ(order, (std::vector<int>{1, 3}));
    order.clear();
    h.RemoveChangeListener(first);
    h.RemoveChangeListener(third);
    h.SetEnabled(true);
    EXPECT_TRUE(order.empty());
}

TEST(HighlighterNotification, ListenerMayWithdrawItselfAndOthers)
{
    TZtHtmlHighlighter h;
    std::vector<int> order;
    int second = 0;
    int first = 0;
    first = h.AddChangeListener([&](TZtCustomHighlighter& source) {
        order.push_back(1);
        source.RemoveChangeListener(first);
        source.RemoveChangeListener(second);
        source.AddChangeListener([&](TZtCustomHighlighter&) { order.push_back(4); });
    });
    second = h.AddChangeListener([&](TZtCustomHighlighter&) { order.push_back(2); });
    h.AddChangeListener([&](TZtCustomHighlighter&) { order.push_back(3); });
    h.SetEnabled(false);
    EXPECT_EQ(order, (std::vector<int>{1, 3}));
    order.clear();
    h.SetEnabled(true);
    EXPECT_EQ(order, (std::vector<int>{3, 4}));
}

TEST(HighlighterContract, HtmlProperties)
{
    const TZtHtmlHighlighter h;
    EXPECT_TRUE(h.Enabled());
    EXPECT_EQ(h.DefaultFilter(), "HTML Document (*.htm,*.html)|*.htm;*.html");
    EXPECT_EQ(h.LanguageName(), "HTML document");
    EXPECT_EQ(h.ScanState(), hsText);
    EXPECT_EQ(h.DefaultAttributes(arComment), h.CommentAttri());
    EXPECT_EQ(h.DefaultAttributes(arIdentifier), h.IdentifierAttri());
    EXPECT_EQ(h.DefaultAttributes(arKeyword), h.KeyAttri());
    EXPECT_EQ(h.DefaultAttributes(arString), nullptr);
    EXPECT_EQ(h.DefaultAttributes(arWhitespace), h.SpaceAttri());
    EXPECT_EQ(h.DefaultAttributes(arSymbol), h.SymbolAttri());
    EXPECT_EQ(h.DefaultAttributes(6), nullptr);
    EXPECT_EQ(h.DefaultAttributes(-1), nullptr);
}

TEST(HighlighterContract, WordBreakAndWordCharacters)
{
    const TZtHtmlHighlighter h;
    std::string breaks;
    for (int c = 0; c < 256; ++c)
        if (h.WordBreakChars().test(static_cast<std::size_t>(c))) breaks += static_cast<char>(c);
    EXPECT_EQ(breaks, "!\"'()*+,-./:;=?[\\]^{|}");

    const std::bitset<256> word = h.WordChars();
    EXPECT_EQ(word.count(), 10u + 52u + 1u + 23u + 31u + 8u);
    for (int c : std::initializer_list<int>{'0', '9', 'A', 'z', '_', 192, 214, 216, 246, 248, 255})
        EXPECT_TRUE(word.test(static_cast<std::size_t>(c))) << c;
    for (int c : std::initializer_list<int>{'-', ' ', '@', '[', '`', '{', 191, 215, 247, 127, 0})
        EXPECT_FALSE(word.test(static_cast<std::size_t>(c))) << c;
}

} // namespace
} // namespace quorvex
