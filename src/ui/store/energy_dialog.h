// «Установка и энергия»: the store's plant per level and its annual energy, the monthly bars,
// the rooms, and the settings the energy is costed with (each with its source in a tooltip).
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QTableWidget;
class QChartView;

namespace coldroom {

class StoreSession;

class EnergyDialog : public QDialog {
public:
    EnergyDialog(StoreSession& session, QWidget* parent = nullptr);
    // Computes and shows everything again from the session's store.
    void refresh();

private:
    void apply();

    StoreSession& session_;
    QLineEdit *tariff_, *fraction_, *condenser_, *lowest_, *insulation_, *years_, *rate_;
    QTableWidget *levels_, *rooms_;
    QChartView* chart_;
    QLabel* summary_;
};

}  // namespace coldroom
