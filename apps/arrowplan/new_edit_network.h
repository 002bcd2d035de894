// The work and network dialog "查看、编辑...": the project data, one work,
// one node, the drawing settings and the resource curves of a network.
//
// The fields of the shown work and node, the work-name position and the
// red-flag switch go into the network as soon as they are left or clicked;
// Cancel keeps them. Every other setting is held by the dialog and applied
// by ShowNetworkDialog after OK, once every field has been checked. The
// dialog holds the shown work and node themselves: a live change re-sorts
// the collections, so their indexes would name other items.
//
// Ownership: the network and the message service are the caller's and
// outlive the dialog.
#pragma once

#include "apps/arrowplan/network_settings.h"

#include "platform/window_services.h"

#include <QDialog>

#include <functional>
#include <map>
#include <optional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace arrowplan {

class TFrmNewEditNetWork : public QDialog {
public:
    TFrmNewEditNetWork(network::TVYRNetwork& network, platform::WindowServices& messages, QWidget* parent = nullptr);

    // Fills every page from the network and opens the work page when a work
    // is given, else the node page when a node is given, else the project
    // page.
    void Fill(network::TWorkItem* work, network::TNodeItem* node);
    // Shows the work or node of a list entry (-1: none).
    void ShowWork(int entry);
    void ShowNode(int entry);
    network::TWorkItem* ShownWork() const { return FWork; }
    network::TNodeItem* ShownNode() const { return FNode; }

    // OK: checks every field and keeps the settings read; false, after the
    // message and with the field's page in front and the field focused,
    // when one is refused.
    bool CheckFields();
    // The settings OK applies.
    const TNetworkSettings& Settings() const { return FSettings; }

    QTabWidget* PageControl1;
    QTabWidget* PageControl2; // the drawing settings
    QPushButton* btnOk;
    QPushButton* btnCancel;

    // Work page.
    QComboBox* cmbWorkCaption;
    std::map<TWorkField, QLineEdit*> WorkEdits; // all but the caption
    QCheckBox* ckbHorizontalLine;
    QCheckBox* ckbKeyWork;
    // Node page.
    QComboBox* cmbNodeIndex;
    QLineEdit* edtNodeNodeY;
    QLineEdit* edtNodeOffset;
    // The read-only values by name (sttComputeWorkLimit, sttEndDate,
    // sttWorksInto, sttWorksFrom, sttStartNode, sttEndNode, sttWorkCount,
    // sttES, sttLS, sttEF, sttLF, sttTotalFloat, sttFreeFloat,
    // sttNodeWorksFrom, sttNodeWorksInto, sttNodeCount, sttNodeCount2,
    // sttNodeEarliest, sttNodeLatest).
    std::map<QString, QLabel*> Facts;

    // The settings fields by the names of SettingsFieldNames: line edits,
    // the node-font combo box and the notes memo.
    std::map<QString, QWidget*> Fields;
    QString FieldText(const QString& name) const;
    void SetFieldText(const QString& name, const QString& text);
    // Check boxes by name: rdSunday, rdSaturday, rdNational, rdNewyear,
    // rdLabor; ckbNodeBold, ckbNodeItalic, ckbNodeUnderline,
    // ckbNodeStrikeOut; Top0..Top6 and Bottom0..Bottom6 (tsSchedule to
    // tsDay); ckbShowRedFlag, ckbShowDayLine, ckbShowDuty; rsLabor,
    // rsWorkforce.
    std::map<QString, QCheckBox*> Checks;
    QButtonGroup* rgTextPosition;
    QSpinBox* seResourceHeight;
    // The colour and font buttons by the member they edit.
    std::map<QString, QPushButton*> Buttons;

    // The colour and font dialogs; the Qt dialogs unless replaced.
    std::function<std::optional<platform::TColor>(platform::TColor)> ChooseColor;
    std::function<std::optional<platform::TFont>(const platform::TFont&)> ChooseFont;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* ProjectPage();
    QWidget* WorkPage();
    QWidget* NodePage();
    QWidget* DrawingPage();
    QWidget* NodeSettingsPage();
    QWidget* WorkSettingsPage();
    QWidget* RulerPage();
    QWidget* GeneralPage();
    QWidget* DutyPage();
    QWidget* NotesPage();
    QWidget* ResourcePage();
    QLineEdit* FieldEdit(const QString& name);
    QLabel* Fact(const QString& name);
    QCheckBox* Check(const QString& name, const QString& caption);
    QWidget* ColorButton(const QString& name, const QString& caption,
                         std::function<platform::TColor&(TNetworkSettings&)> color);
    QWidget* FontButton(const QString& name, const QString& caption, const QString& sample,
                        platform::TFont TNetworkSettings::*member);
    void ShowSamples();
    void FillWorkList();
    void FillNodeList();
    void CommitWorkCaption();
    void CommitWorkField(TWorkField field);
    void CommitNodeNumber();
    void CommitNodeField(TNodeField field);
    void ReadChecks();
    void FocusField(QWidget* field);

    network::TVYRNetwork& FNetwork;
    platform::WindowServices& FMessages;
    TNetworkSettings FSettings;
    std::vector<std::function<void()>> FSampleRefreshers;
    std::vector<network::TWorkItem*> FWorks; // by work-list entry
    std::vector<network::TNodeItem*> FNodes; // by node-list entry
    network::TWorkItem* FWork = nullptr;
    network::TNodeItem* FNode = nullptr;
    bool FFilling = false;
};

// Creates the dialog, fills it, runs it and on OK applies its settings;
// the network repaints whatever the result. Returns the dialog's result.
int ShowNetworkDialog(network::TVYRNetwork& network, network::TWorkItem* work, network::TNodeItem* node,
                      platform::WindowServices& messages, QWidget* parent);

} // namespace arrowplan
