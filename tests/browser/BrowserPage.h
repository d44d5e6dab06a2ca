#pragma once
// One page of the browser engine: an HTML file loaded from disk the way a
// browser opens a saved page, and what a reader sees of it.

#include <QString>
#include <QWebEngineView>

#include <string>
#include <utility>
#include <vector>

namespace quorvex::testing {

// The visible text and the computed size of every fontN element.
struct TPageReading {
    std::string Text; // document.body.innerText, UTF-8
    std::vector<std::pair<std::string, std::string>> FontSizes; // class, computed font-size
};

class TBrowserPage {
public:
    TBrowserPage();
    // Loads the file and reads the page; raises std::runtime_error when the
    // engine does not finish within the timeout.
    TPageReading Read(const QString& fileName);

private:
    QWebEngineView FView;
};

} // namespace quorvex::testing
