// The sample documents of examples/ and their HTML, as checked in.

#include <gtest/gtest.h>

#include <fstream>

#include "ExampleDocuments.h"
#include "TestFiles.h"
#include "ZtDefaultPreferences.h"
#include "ZtFileInfoFa4.h"

namespace quorvex::testing {
namespace {

std::string HtmlOf(const std::string& name)
{
    TZtFileInfoFa4 document;
    for (auto& example : ExampleDocuments())
        if (example.Name == name) document.LoadFromMemory(name, example.Builder.Bytes());
    return BuildHtml(DefaultPreferencesText, document);
}

TEST(Examples, CheckedInFilesAreWhatTheGeneratorWrites)
{
    const std::string folder = QUORVEX_EXAMPLES_DIR;
    const auto examples = ExampleDocuments();
    ASSERT_EQ(examples.size(), 3u);
    for (const auto& example : examples) {
        const std::string name = folder + "/" + example.Name;
        EXPECT_EQ(ReadFileBytes(name), example.Builder.Bytes()) << name;
        TZtFileInfoFa4 document;
        document.LoadFromFile(name);
        EXPECT_EQ(ReadFileBytes(name + ".html"), BuildHtml(DefaultPreferencesText, document)) << name;
    }
}

// Excerpts worked out by hand from the documents' lines.
TEST(Examples, LetterExcerpts)
{
    const std::string html = HtmlOf("brief.fa4");
    for (const std::string& excerpt :
        {std::string("<body>\r\n<!-- LINE 6 --><font class=\"font1\" size=\"5\"><b>Musterfirma "
                     "GmbH</b></font><br>\r\n"),
            std::string(
                "<!-- LINE 17 --><font class=\"fixed\" face=\"Courier New, monospace\">&nbsp;&nbsp;&nbsp;"),
            std::string("&nbsp;Beispielstadt,&nbsp;3.&nbsp;M&auml;rz&nbsp;1994</font><br>\r\n"),
            std::string("<!-- LINE 21 -->Sehr geehrter Herr M&uuml;ller,<br>\r\n"),
            std::string("unser An&shy;<!-- LINE 24 -->gebot f&uuml;r die Lieferung von 200 St&uuml;ck "
                        "Schrauben der Gr&ouml;&szlig;e M8 zu \r\n<!-- LINE 25 -->"),
            std::string(
                "<!-- LINE 29 --><p class=\"indent\" style=\"margin-left:20pt; text-indent:-20pt\">"
                "1.&nbsp;&nbsp;Lieferung&nbsp;innerhalb&nbsp;von&nbsp;zwei&nbsp;Wochen&nbsp;nach&nbsp;"
                "Eingang&nbsp;Ihrer&nbsp;Be&shy;<!-- LINE 30 -->stellung.<br>\r\n"),
            std::string(
                "<p class=\"indent\" style=\"margin-left:20pt; text-indent:-12pt\">3.&nbsp;&nbsp;Es&nbsp;"
                "gelten&nbsp;unsere&nbsp;Allgemeinen&nbsp;Gesch&auml;fts-<!-- LINE 33 -->Bedingungen.<br>\r\n"
                "<!-- LINE 34 --><p style=\"margin-left:0; text-indent:0\"></p>\r\n<!-- LINE 35 -->Wir "),
            std::string(
                "<hr><!-- LINE 0 -->Musterfirma GmbH | Hauptstra&szlig;e 5 | 12345 Beispielstadt<br>\r\n"),
            std::string("<!-- LINE 5 --><br></body>")})
        EXPECT_NE(html.find(excerpt), std::string::npos) << excerpt;
}

TEST(Examples, ReportExcerpts)
{
    const std::string html = HtmlOf("bericht.fa4");
    const std::string table = "<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\">\r\n";
    for (const std::string& excerpt : {std::string("<!-- LINE 7 --><hr>\r\n<br>\r\n<!-- LINE 8 --><br>"),
             table + "<tr><td class=\"fixed\" rowspan=\"2\">Produkt&nbsp;&nbsp; <br>\r\n",
             std::string("</td><td class=\"fixed\" colspan=\"2\">Umsatz&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;"
                         "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; </td></tr>\r\n"
                         "<tr><td class=\"fixed\">1993&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; </td>"
                         "<td class=\"fixed\">1994&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; </td></tr>\r\n"
                         "<tr><td>Schrauben </td><td class=\"fixed\">&nbsp;12.400 DM</td>"
                         "<td class=\"fixed\">&nbsp;15.100 DM</td></tr>\r\n"),
             std::string("</table>\r\n<br>\r\n<!-- LINE 24 --><br>\r\n<!-- LINE 25 --><font class=\"fixed\" "
                         "face=\"Courier New, monospace\">Summe 1994 "
                         "----------------- 24.150 DM</font><br>"),
             std::string("Die fol&shy;<!-- LINE 13 -->gende &Uuml;bersicht"),
             table +
                 "<tr><td class=\"fixed\">Teil&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; </td>"
                 "<td class=\"fixed\">Menge&nbsp; </td></tr>\r\n"
                 "<tr><td>Sechskant&shy;schrauben </td><td class=\"fixed\">&nbsp;&nbsp;&nbsp; 200<br>\r\n"
                 "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; </td></tr>\r\n"
                 "<tr><td class=\"fixed\">Muttern&nbsp;&nbsp; </td><td class=\"fixed\">&nbsp;&nbsp;&nbsp; "
                 "150</td></tr>\r\n</table>\r\n<br>"})
        EXPECT_NE(html.find(excerpt), std::string::npos) << excerpt;
}

TEST(Examples, NoteExcerpts)
{
    const std::string html = HtmlOf("notiz.fa4");
    for (const std::string& excerpt :
        {std::string("A = &#960; r<sup>2</sup>, die Diagonale eines Quadrats d = &#8730;2 a.<br>"),
            std::string("100 &deg;C; der Wert f&uuml;r H<sub>2</sub>O"),
            std::string("stehen <font color=\"blue\">in Blau</font>.<br>"),
            std::string("&lt;Pr&uuml;fger&auml;t 3&gt;"),
            std::string("<font class=\"fixed\" face=\"Courier New, "
                        "monospace\">&nbsp;&nbsp;Ma&szlig;&nbsp;&nbsp;&nbsp;"),
            std::string("Trenn&shy;stelle und ein unbekannter Code: #$FF82.<br>"),
            std::string("se&#241;or, &#197;ngstr&ouml;m, &#199;a va.<br>"),
            std::string("Griechisch: &#945; &#915; &#960; &#931;"),
            std::string("Schattierungen &#9617;&#9618;&#9619; und Bl&ouml;cke "
                        "&#9608;&#9604;&#9612;&#9616;&#9600;<br>"),
            std::string("<font class=\"font6\" size=\"2\">Grad 6</font> <font class=\"font7\" "
                        "size=\"2\">Grad 7</font><br>"),
            std::string("<!-- LINE 25 --><hr>\r\n<br>\r\n<!-- LINE 26 -->Ende")})
        EXPECT_NE(html.find(excerpt), std::string::npos) << excerpt;
}

} // namespace
} // namespace quorvex::testing
