#include "ui/main/help_window.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMessageBox>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/shipped_files.h"
#include "ui/user_interface.h"
#include "ui/qt_form_widgets.h"
#include "ui/qt_user_interface.h"

namespace coldroom {

namespace {

// The page is UTF-8 whatever its markup declares, so it is decoded here rather than by the
// browser's guess.
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::HtmlResource && name.isLocalFile()) {
            QFile file(name.toLocalFile());
            if (!file.open(QIODevice::ReadOnly)) return {};
            QString text = QString::fromUtf8(file.readAll());
            if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
            return text;
        }
        return QTextBrowser::loadResource(type, name);
    }
};

bool isHtmlFile(const QString& path) {
    return path.endsWith(QLatin1String(".html"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive);
}

QString quoted(const QString& path) {
    return QStringLiteral("«") + QDir::toNativeSeparators(path) + QStringLiteral("»");
}

QToolButton* navigationButton(const QString& name, const QString& text, QStyle::StandardPixmap icon,
                              const QKeySequence& keys, const QString& tip, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setShortcut(keys);
    button->setToolTip(tip);
    return button;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), openExternal_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Справка — ColdRoom"));

    back_ = navigationButton(QStringLiteral("helpBack"), QStringLiteral("Назад"), QStyle::SP_ArrowBack,
                             QKeySequence(QKeySequence::Back), QStringLiteral("Назад (Alt+Влево)"), this);
    forward_ = navigationButton(QStringLiteral("helpForward"), QStringLiteral("Вперёд"), QStyle::SP_ArrowForward,
                                QKeySequence(QKeySequence::Forward), QStringLiteral("Вперёд (Alt+Вправо)"), this);
    home_ = navigationButton(QStringLiteral("helpHome"), QStringLiteral("Содержание"), QStyle::SP_DirHomeIcon,
                             QKeySequence(Qt::ALT | Qt::Key_Home), QStringLiteral("К содержанию (Alt+Home)"),
                             this);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    home_->setEnabled(false);

    browser_ = new HelpBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    // Every link passes through followLink, which keeps the page's own links here and sends
    // the rest to the system.
    browser_->setOpenLinks(false);
    browser_->setOpenExternalLinks(false);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(4, 2, 4, 2);
    buttons->setSpacing(2);
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addSpacing(8);
    buttons->addWidget(home_);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);

    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    GuardedConnect(home_, &QToolButton::clicked, this, [this] { showContents(); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    GuardedConnect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { followLink(url); });

    resize(860, 700);
    setMinimumSize(480, 360);
}

bool HelpWindow::openPage(const QString& path, QString* error) {
    const QString problem = HelpPageProblem(path);
    if (!problem.isEmpty()) {
        if (error) *error = problem;
        return false;
    }
    page_ = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    QUrl contents = page_;
    contents.setFragment(QString::fromLatin1(kHelpContentsAnchor));
    browser_->setSource(contents, QTextDocument::HtmlResource);
    // A different page starts a history of its own.
    browser_->clearHistory();
    home_->setEnabled(true);
    return true;
}

void HelpWindow::showContents() { showSection({}); }

void HelpWindow::showSection(const QString& anchor) {
    if (page_.isEmpty()) return;
    const QString place = anchor.isEmpty() ? QString::fromLatin1(kHelpContentsAnchor) : anchor;
    QUrl section = page_;
    section.setFragment(place);
    browser_->setSource(section, QTextDocument::HtmlResource);
    browser_->scrollToAnchor(place);
}

QString HelpSectionOf(const QWidget* widget) {
    // By the windows' object names: the help page's section ids.
    static const std::pair<const char*, const char*> sections[] = {
        {"Produkt", "task"},        {"Form1", "main"},          {"PrintOptions", "reports"},
        {"ParaConfig", "database"}, {"StoreWindow", "store"},   {"EnergyDialog", "energy"},
        {"StudyWindow", "studies"}, {"AboutSc", "contents"},    {"HelpWindow", "contents"},
    };
    for (; widget; widget = widget->parentWidget())
        for (const auto& [name, section] : sections)
            if (widget->objectName() == QLatin1String(name)) return QString::fromLatin1(section);
    return {};
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HelpWindow::followLink(const QUrl& link) {
    const QUrl target = browser_->source().resolved(link);
    if (target.isLocalFile() && (target.adjusted(QUrl::RemoveFragment) == page_ || isHtmlFile(target.toLocalFile()))) {
        browser_->setSource(target, QTextDocument::HtmlResource);
        return;
    }
    if (openExternal_) openExternal_(target);
}

QString DefaultHelpPagePath() {
    const std::string folder = QCoreApplication::applicationDirPath().toStdString();
    return QString::fromStdString(ShippedFilePath(folder, kHelpFileName));
}

QString HelpPageProblem(const QString& path) {
    if (path.isEmpty()) return QStringLiteral("Не указан файл справки.");
    const QFileInfo info(path);
    if (!info.exists()) return QStringLiteral("Не найден файл справки ") + quoted(path) + QStringLiteral(".");
    if (info.isDir())
        return QStringLiteral("Не удается открыть файл справки ") + quoted(path) +
               QStringLiteral(": это папка, а не файл.");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Не удается открыть файл справки ") + quoted(path) +
               QStringLiteral(": нет доступа к файлу.");
    return {};
}

HelpWindow* ShowHelp(QPointer<HelpWindow>& window, const QString& pagePath, QWidget* parent, const QString& anchor) {
    QString problem = HelpPageProblem(pagePath);
    const QUrl wanted = QUrl::fromLocalFile(QFileInfo(pagePath).absoluteFilePath());
    if (problem.isEmpty()) {
        if (!window) {
            // A window of its own, not over the main window, that never keeps the program
            // running once the main windows have closed.
            window = new HelpWindow;
            window->setAttribute(Qt::WA_DeleteOnClose);
            window->setAttribute(Qt::WA_QuitOnClose, false);
            if (parent) window->setWindowIcon(parent->window()->windowIcon());
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, window.data(), &QObject::deleteLater);
        }
        if (window->pageUrl() == wanted)
            window->showSection(anchor);
        else if (window->openPage(pagePath, &problem) && !anchor.isEmpty())
            window->showSection(anchor);  // Back leads to the contents
    }
    if (!problem.isEmpty()) {
        QMessageBox::critical(parent, QString::fromUtf8(kAppTitle), problem);
        return nullptr;
    }
    BringToFront(*window);
    return window;
}

}  // namespace coldroom
