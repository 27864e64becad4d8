// The help viewer: the help page in a window of its own, with back, forward and a button that
// returns to the contents. Links that leave the page open in the system's browser.
#pragma once

#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

class QKeyEvent;
class QTextBrowser;
class QToolButton;

namespace coldroom {

// The help file's name; the program keeps it in its own folder.
inline constexpr const char* kHelpFileName = "coldroom-help.html";
// The anchor of the page's table of contents, where the viewer opens.
inline constexpr const char* kHelpContentsAnchor = "contents";

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Loads the page and shows it at its contents. Returns false with a Russian message
    // naming the file when it cannot be read; the window then keeps what it showed.
    bool openPage(const QString& path, QString* error = nullptr);
    // Back to the table of contents of the loaded page.
    void showContents();
    // The loaded page at `anchor` (a section's id); its contents when empty.
    void showSection(const QString& anchor);

    QTextBrowser* browser() const { return browser_; }
    QToolButton* backButton() const { return back_; }
    QToolButton* forwardButton() const { return forward_; }
    QToolButton* homeButton() const { return home_; }
    // The loaded page, without a fragment.
    QUrl pageUrl() const { return page_; }

    // How links that leave the page are opened; the system's browser unless replaced.
    void setExternalOpener(std::function<bool(const QUrl&)> opener) { openExternal_ = std::move(opener); }

protected:
    // Escape closes the window, as it closes a dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void followLink(const QUrl& link);

    QTextBrowser* browser_;
    QToolButton* back_;
    QToolButton* forward_;
    QToolButton* home_;
    QUrl page_;
    std::function<bool(const QUrl&)> openExternal_;
};

// The help file shipped with the program: beside it, or in ../share/coldroom once installed.
QString DefaultHelpPagePath();

// Empty when the page at `path` can be shown, otherwise the Russian message that names it.
QString HelpPageProblem(const QString& path);

// Shows the page at `anchor` (its contents when empty) in the help window held in `window`
// (made when there is none, brought to the front when open; deleted on closing, which empties
// `window`). A file that is missing or unreadable is reported in a critical message box over
// `parent`, and nullptr is returned.
HelpWindow* ShowHelp(QPointer<HelpWindow>& window, const QString& pagePath, QWidget* parent = nullptr,
                     const QString& anchor = {});

// The section of the help page about the window `widget` belongs to (the nearest window of
// the program among it and its parents): "store" for the window «Холодильник», "main" for the
// main window…; empty for none.
QString HelpSectionOf(const QWidget* widget);

}  // namespace coldroom
