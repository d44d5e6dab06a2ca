// Shows a complete HTML document, given as 8-bit bytes, the way a browser
// shows a saved file that names no character set.
#pragma once

#include <QString>
#include <QTextBrowser>

#include <string>
#include <string_view>

namespace quorvex {

class TZtHtmlPreview : public QTextBrowser {
    Q_OBJECT

public:
    explicit TZtHtmlPreview(QWidget* parent = nullptr);

    // Replaces what is shown, lays the page out and shows it from the top.
    void ShowHtml(std::string_view html);
    void ClearPreview();

    // Windows-1252: Latin-1 with 32 other characters at 0x80-0x9F.
    static QString DecodeWindows1252(std::string_view bytes);
    // Rewrites margin-left and text-indent lengths given in pt (and
    // text-indent without a unit) as px, which is all Qt's rich text reads.
    static std::string PointLengthsToPixels(std::string_view html);
};

} // namespace quorvex
