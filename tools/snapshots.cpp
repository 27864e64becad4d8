// Pictures of every window, for a look at the layout by eye: the task dialog, the main window
// with each tab and each surface page at the two screen sizes it must serve, the chart with a
// component that cannot be computed, a study, the parameter editor with each tab (and while a task and
// a product are being edited), the About box, the report options and the help page at a few
// places, and with --store the window «Холодильник» showing that store and its window
// «Установка и энергия» (the plant and energy, then the thickness study).
//
//     build/bin/coldroom_snapshots OUTPUT_FOLDER [--db PATH] [--store STORE.coldstore]
//
// It runs the desktop program on the offscreen platform (unless another is asked for) over
// the reference data beside it, as a person would: start, confirm the task, look around.
#include <QApplication>
#include <QComboBox>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QDir>
#include <QIcon>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>

#include <cstring>
#include <iostream>
#include <string>

#include "core/load_breakdown.h"
#include "ui/study/settings.h"
#include "refdb/reference_db.h"
#include "reports/calculation_note.h"
#include "reports/qt_canvas.h"
#include "ui/editor/editor_form.h"
#include "ui/editor/editor_window.h"
#include "ui/main/about_dialog.h"
#include "ui/main/help_window.h"
#include "ui/main/main_window.h"
#include "ui/qt_desktop.h"
#include "ui/qt_load_chart.h"
#include "ui/study/study_window.h"
#include "ui/store/energy_dialog.h"
#include "ui/store/store_window.h"
#include "ui/task/task_dialog.h"

namespace {

using coldroom::DesktopProgram;

void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

class Camera {
public:
    explicit Camera(QString folder) : folder_(std::move(folder)) {}
    void shoot(QWidget* w, const QString& name) {
        settle();
        const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
        if (w->grab().save(path))
            ++saved_;
        else
            std::cerr << "coldroom_snapshots: cannot write " << path.toStdString() << '\n';
    }
    void save(const QImage& image, const QString& name) {
        const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
        if (image.save(path))
            ++saved_;
        else
            std::cerr << "coldroom_snapshots: cannot write " << path.toStdString() << '\n';
    }
    int saved() const { return saved_; }

private:
    QString folder_;
    int saved_ = 0;
};

// The program's questions (the cooling time) would wait for a person: "Нет" to each.
void answerMessageBoxes(QTimer& timer) {
    QObject::connect(&timer, &QTimer::timeout, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible()) continue;
            if (auto* no = box->button(QMessageBox::No))
                no->click();
            else
                box->accept();
        }
    });
    timer.start(20);
}

void mainWindowPictures(DesktopProgram& desktop, Camera& camera) {
    coldroom::MainWindow* window = desktop.mainWindow();
    auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    auto* surfaces = window->findChild<QTabWidget*>(QStringLiteral("SSTab2"));
    for (QSize size : {QSize(1280, 800), QSize(1024, 700)}) {
        window->resize(size);
        const QString tag = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        for (int t = 0; tabs && t < tabs->count(); ++t) {
            tabs->setCurrentIndex(t);
            camera.shoot(window, QStringLiteral("main_tab%1_%2").arg(t).arg(tag));
        }
        if (tabs) tabs->setCurrentIndex(0);
        for (int s = 0; surfaces && s < surfaces->count(); ++s) {
            surfaces->setCurrentIndex(s);
            camera.shoot(surfaces, QStringLiteral("surface%1_%2").arg(s).arg(tag));
        }
        if (surfaces) surfaces->setCurrentIndex(0);
    }
    // A loss below zero and a component that cannot be computed.
    coldroom::LoadBreakdown shown = desktop.program().main.results();
    shown.envelope = coldroom::LoadValue::of(-640);
    shown.product = coldroom::LoadValue::undefined("нет таблицы");
    window->setResultsSource([&shown] { return &shown; });
    window->refresh();
    camera.shoot(window->chart(), QStringLiteral("chart_missing"));
    window->setResultsSource([&desktop] { return &desktop.program().main.results(); });

    // The notices beneath the results: outside air colder than the room at a special door, and
    // more product than the room holds. The project is put back afterwards.
    const coldroom::RoomProject before = desktop.program().project();
    coldroom::ApplySettings(desktop.program(), {{"Door_Special_opt", "1"}, {"TempOut_txt", "-10"},
                                                {"Produkt.Load_prod_txt", "300"}});
    window->resize(1280, 800);
    window->refresh();
    camera.shoot(window, QStringLiteral("main_notices_1280x800"));
    desktop.program().session.project = before;
    desktop.program().main.Activate();
    window->refresh();
}

// "Изменить" on an unchanged row only unlocks the fields: nothing is written to the data.
void editorPictures(DesktopProgram& desktop, Camera& camera) {
    desktop.showEditor();
    coldroom::EditorWindow* editor = desktop.editor();
    if (!editor) return;
    auto* tabs = editor->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    const QString size = QStringLiteral("%1x%2").arg(editor->width()).arg(editor->height());
    for (int t = 0; tabs && t < tabs->count(); ++t) {
        tabs->setCurrentIndex(t);
        camera.shoot(editor, QStringLiteral("editor_tab%1_%2").arg(t).arg(size));
    }
    for (const char* update : {"cmdTaskUpdate", "cmdProdUpdate"})
        if (auto* button = editor->findChild<QPushButton*>(QString::fromLatin1(update))) button->click();
    editor->form().Down_pic_Click();
    editor->form().Down_pic_Click();
    editor->refresh();
    for (int t : {0, 2}) {
        if (tabs) tabs->setCurrentIndex(t);
        camera.shoot(editor, QStringLiteral("editor_tab%1_editing").arg(t));
    }
    editor->resize(editor->minimumSizeHint());
    camera.shoot(editor, QStringLiteral("editor_min"));
    if (auto* cancel = editor->findChild<QPushButton*>(QStringLiteral("btnCancel"))) cancel->click();
    settle();
}

// A study of the room temperature, with every line and with the components alone.
void studyPictures(DesktopProgram& desktop, Camera& camera) {
    coldroom::StudyWindow* study = coldroom::ShowStudyWindow(desktop.program(), desktop.mainWindow());
    study->parameterList()->setCurrentIndex(study->parameterList()->findData(QStringLiteral("TempIn_txt")));
    study->fromField()->setText(QStringLiteral("-30"));
    study->toField()->setText(QStringLiteral("10"));
    study->stepField()->setText(QStringLiteral("2.5"));
    study->runStudy();
    study->resize(1000, 620);  // its size on a screen larger than the offscreen one
    camera.shoot(study, QStringLiteral("study"));
    study->showLine(coldroom::LoadId::Capacity, false);
    study->showLine(coldroom::LoadId::Total, false);
    camera.shoot(study, QStringLiteral("study_components"));
    study->close();
}

void helpPictures(DesktopProgram& desktop, Camera& camera) {
    desktop.showHelp();
    coldroom::HelpWindow* help = desktop.helpWindow();
    if (!help) return;
    camera.shoot(help, QStringLiteral("help-contents"));
    for (const char* place :
         {"results", "reports", "cli", "store-window", "note", "margin", "studies", "in-task", "in-operation", "m-floor",
          "m-operation", "m-time", "messages", "sources"}) {
        emit help->browser()->anchorClicked(QUrl(QStringLiteral("#") + QString::fromLatin1(place)));
        camera.shoot(help, QStringLiteral("help-%1").arg(QString::fromLatin1(place)));
    }
}

// The first page of the calculation note of the open project, as the PDF has it, 100 dpi.
void notePicture(DesktopProgram& desktop, Camera& camera) {
    coldroom::Program& program = desktop.program();
    const coldroom::CalculationNote note = coldroom::BuildCalculationNote(
        program.project(), program.session.result, program.data(),
        {program.project().Name_txt, program.project().ReportAuthor, coldroom::ShortDateToday()},
        program.main.DesignMargin);
    constexpr double dpi = 100;
    QImage page(qRound(coldroom::kPageWidthMm / 25.4 * dpi), qRound(coldroom::kPageHeightMm / 25.4 * dpi),
                QImage::Format_RGB32);
    page.setDotsPerMeterX(qRound(dpi / 0.0254));
    page.setDotsPerMeterY(qRound(dpi / 0.0254));
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const coldroom::StyledWidth measure = [&page](const std::string& text, const coldroom::TextStyle& style) {
        return QFontMetricsF(coldroom::QtCanvas::FontFor(style), &page).horizontalAdvance(QString::fromStdString(text)) /
               coldroom::QtCanvas::kUnitsPerMm;
    };
    const auto pages = coldroom::CalculationNotePages(note, measure);
    {
        coldroom::QtCanvas canvas(painter);
        coldroom::DrawNotePage(pages.front(), canvas);
    }
    painter.end();
    camera.save(page, QStringLiteral("calculation_note_page1"));
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || argv[1][0] == '-') {
        std::cerr << "usage: coldroom_snapshots OUTPUT_FOLDER [--db PATH] [--store STORE.coldstore]\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/coldroom.png")));
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::cerr << "coldroom_snapshots: cannot make " << argv[1] << '\n';
        return 1;
    }
    std::string database = coldroom::DefaultDatabasePath(), store;
    for (int i = 2; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--db") == 0) database = argv[i + 1];
        if (std::strcmp(argv[i], "--store") == 0) store = argv[i + 1];
    }

    QTimer answerer;
    answerMessageBoxes(answerer);
    Camera camera(folder);
    DesktopProgram desktop(database);
    if (!desktop.start()) return 1;
    coldroom::TaskDialog* task = desktop.taskDialog();
    camera.shoot(task, QStringLiteral("task_dialog"));
    task->resize(task->minimumSizeHint());
    camera.shoot(task, QStringLiteral("task_dialog_min"));

    task->findChild<QPushButton*>(QStringLiteral("OK_btn"))->click();
    settle();
    if (!desktop.mainWindow()) return 1;
    mainWindowPictures(desktop, camera);

    studyPictures(desktop, camera);
    editorPictures(desktop, camera);
    desktop.showAbout();
    if (desktop.aboutBox()) camera.shoot(desktop.aboutBox(), QStringLiteral("about"));
    desktop.showPrintOptions();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == QStringLiteral("PrintOptions")) {
            camera.shoot(w, QStringLiteral("print_options"));
            if (auto* cancel = w->findChild<QPushButton*>(QStringLiteral("Cancel_btn"))) cancel->click();
        }
    notePicture(desktop, camera);
    helpPictures(desktop, camera);
    if (!store.empty()) {
        desktop.showStore();
        if (coldroom::StoreWindow* window = desktop.storeWindow(); window && window->session().OpenFile(store)) {
            window->refresh();
            window->resize(1280, 800);
            window->selectRoom(0);
            camera.shoot(window, QStringLiteral("store_window"));
            // «Установка и энергия»: its first page, then the thickness study.
            window->findChild<QAction*>(QStringLiteral("storeEnergy"))->trigger();
            if (auto* energy = window->findChild<coldroom::EnergyDialog*>()) {
                energy->resize(1280, 800);
                camera.shoot(energy, QStringLiteral("energy_dialog"));
                if (auto* tabs = energy->findChild<QTabWidget*>(QStringLiteral("EnergyTabs"))) {
                    tabs->setCurrentIndex(1);
                    camera.shoot(energy, QStringLiteral("energy_study"));
                }
                energy->close();
            }
        }
    }

    desktop.program().Exit();
    std::cout << camera.saved() << " pictures in " << folder.toStdString() << '\n';
    return 0;
}
