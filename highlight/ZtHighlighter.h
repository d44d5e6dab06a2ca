// The contract between a source editor and a language scanner: colouring
// styles (attributes), change notification and the line-by-line token scan.
// Nothing here depends on a windowing toolkit; colours are plain RGB values.
#pragma once

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvex {

struct TZtColor {
    std::uint8_t Red = 0, Green = 0, Blue = 0;

    friend constexpr bool operator==(const TZtColor&, const TZtColor&) = default;
};

enum TZtFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TZtFontStyles = unsigned; // a set of TZtFontStyle bits

// What an editor asks DefaultAttributes for, independent of the language.
enum TAttributeRole {
    arComment,
    arIdentifier,
    arKeyword,
    arString,
    arWhitespace,
    arSymbol,
};

// One colouring style. No colour (std::nullopt) means the editor's own colour.
class TZtHighlighterAttributes {
public:
    explicit TZtHighlighterAttributes(std::string name);
    TZtHighlighterAttributes(const TZtHighlighterAttributes&) = delete;
    TZtHighlighterAttributes& operator=(const TZtHighlighterAttributes&) = delete;

    const std::string& Name() const { return FName; }

    std::optional<TZtColor> Foreground() const { return FForeground; }
    void SetForeground(std::optional<TZtColor> colour);
    std::optional<TZtColor> Background() const { return FBackground; }
    void SetBackground(std::optional<TZtColor> colour);
    TZtFontStyles Style() const { return FStyle; }
    void SetStyle(TZtFontStyles style);

    // Called after every real change of a colour or the style; the owning
    // highlighter installs it when the attribute is added to its list.
    void SetChangeCallback(std::function<void()> callback) { FOnChange = std::move(callback); }

private:
    void Changed() const;

    const std::string FName;
    std::optional<TZtColor> FForeground;
    std::optional<TZtColor> FBackground;
    TZtFontStyles FStyle = 0;
    std::function<void()> FOnChange;
};

// Base of every language scanner. An editor hands it one line at a time and
// reads the tokens; the scan state carries constructs over line ends.
class TZtCustomHighlighter {
public:
    using TChangeListener = std::function<void(TZtCustomHighlighter&)>;

    TZtCustomHighlighter();
    virtual ~TZtCustomHighlighter();
    TZtCustomHighlighter(const TZtCustomHighlighter&) = delete;
    TZtCustomHighlighter& operator=(const TZtCustomHighlighter&) = delete;

    // Attributes, sorted by name with letter case ignored.
    int AttributeCount() const;
    TZtHighlighterAttributes* Attribute(int index) const; // nullptr outside the list

    // Listeners are called once each, in registration order, after a real
    // change of any attribute or of Enabled. The handle withdraws them.
    int AddChangeListener(TChangeListener listener);
    void RemoveChangeListener(int handle);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);

    const std::string& DefaultFilter() const { return FDefaultFilter; }
    void SetDefaultFilter(std::string filter) { FDefaultFilter = std::move(filter); }

    const std::bitset<256>& WordBreakChars() const { return FWordBreakChars; }

    // The scanner. StartLine borrows the text: the caller keeps it alive and
    // unchanged until it has read the line's last token. A NUL ends the line.
    virtual void ResetScanState() = 0;
    virtual int ScanState() const = 0;
    virtual void SetScanState(int state) = 0;
    virtual void StartLine(std::string_view line, int lineIndex) = 0;
    virtual void NextToken() = 0;
    virtual bool AtLineEnd() const = 0;
    virtual int TokenStart() const = 0;
    virtual int TokenLength() const = 0; // allocation-free companion of TokenText
    virtual std::string TokenText() const = 0;
    virtual int TokenKind() const = 0;
    virtual TZtHighlighterAttributes* TokenAttributes() const = 0;
    virtual void ScanToLineEnd();

    virtual TZtHighlighterAttributes* DefaultAttributes(int role) const = 0;
    virtual std::bitset<256> WordChars() const = 0;
    virtual std::string LanguageName() const = 0;

protected:
    // Takes ownership and keeps the list sorted; throws std::invalid_argument
    // when an attribute of the same name (letter case ignored) is present.
    TZtHighlighterAttributes* AddAttribute(std::unique_ptr<TZtHighlighterAttributes> attribute);
    void NotifyListeners();

private:
    struct TListener {
        int Handle;
        TChangeListener Call;
    };

    std::vector<std::unique_ptr<TZtHighlighterAttributes>> FAttributes;
    std::vector<TListener> FListeners;
    int FNextHandle = 1;
    bool FEnabled = true;
    std::string FDefaultFilter;
    std::bitset<256> FWordBreakChars;
};

} // namespace quorvex
