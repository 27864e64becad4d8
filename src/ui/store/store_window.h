// The window «Холодильник»: a cold store's rooms as a table (each with its level and coil
// difference), the plant's levels with their sums and the store's, a bar per room of its load
// components, and the store's file commands and reports. It shows a StoreSession and forwards
// what the person does to it.
#pragma once

#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/store/store_session.h"

class QAction;
class QChartView;
class QLabel;
class QLineEdit;
class QMenu;
class QTableWidget;

namespace coldroom {

class EnergyDialog;

// The store's sign for menus and toolbars: a building of three chambers, one medium- and two
// low-temperature.
QIcon StoreIcon();
// «Новая камера…»: one chamber with a plus, apart from the sheet of «Создать».
QIcon NewRoomIcon();

class StoreWindow : public QMainWindow {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void(const std::string& path)> openRoom;  // in the main window, after its question
        std::function<RoomProject()> newRoom;                   // a room as the program starts one
        std::function<double()> designMargin;                   // %, 0 for none
    };

    StoreWindow(UserInterface& ui, std::function<std::shared_ptr<const ReferenceData>()> data, Hooks hooks,
                QWidget* parent = nullptr);
    ~StoreWindow() override;

    StoreSession& session() { return *session_; }
    // Shows the store as the session holds it now.
    void refresh();
    // A project file was saved or opened somewhere: rooms whose files changed are read again.
    void roomFileChanged();
    // Before the window closes or the program ends: the entry being typed is committed (a
    // refused one is put back in sight), then the store's unsaved work is asked about. Returns
    // whether to go on.
    bool confirmClose();
    // The title, a level's field or a coil difference typed and not yet entered is entered
    // now. False when it was refused: the field shows the store's value again.
    bool commitPendingEdit();
    // The recent stores in the "Файл" menu, latest first; choosing one runs `open` with it.
    void setRecentStores(const std::vector<std::string>& paths, std::function<void(const std::string&)> open);

    // The room selected in the table, or -1.
    int selectedRoom() const;
    void selectRoom(int index);
    // The level selected in the levels' table, or -1.
    int selectedLevel() const;
    bool writeReport(const std::string& kind, const std::string& path);
    // The store's pages in the print preview, printed from there.
    void printReport();

    QTableWidget* roomsTable() const { return rooms_; }
    QTableWidget* levelsTable() const { return levels_; }
    QChartView* chartView() const { return chart_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    // A command of the menus and toolbar: the entry being typed first; a refused one stops it.
    void run(const std::function<void()>& command);
    void openRoom(int row);
    void report(const char* kind);
    void showRooms(const StoreSheet& sheet);
    void showLevels(const StoreSheet& sheet);
    void showChart();
public:
    // A field in a table's cell: entered with Enter or on leaving it, through `commit`.
    using Commit = std::function<bool(const std::string&)>;

private:
    QLineEdit* cellEdit(QTableWidget* table, int row, int column, const QString& name, const QString& text,
                        const QString& tip, Commit commit, std::vector<std::pair<QPointer<QLineEdit>, Commit>>& edits);

    UserInterface& ui_;
    Hooks hooks_;
    std::unique_ptr<StoreSession> session_;
    QLineEdit* title_ = nullptr;
    std::vector<std::pair<QPointer<QLineEdit>, Commit>> roomEdits_, levelEdits_;
    QTableWidget* rooms_ = nullptr;
    QTableWidget* levels_ = nullptr;
    QChartView* chart_ = nullptr;
    QLabel* notes_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QPointer<EnergyDialog> energy_;  // «Установка и энергия», while open
    bool refreshing_ = false;
};

}  // namespace coldroom
