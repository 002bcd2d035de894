// The About dialog of both programs: the program's picture, name and
// version, who made it, and how to reach them.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>

class QLabel;
class QPushButton;

namespace common {

struct AboutBoxContent {
    QPixmap picture; // none: the application's window icon
    QString productName;
    QString version;

    static AboutBoxContent Sitelay();
    static AboutBoxContent Arrowplan();
};

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(const AboutBoxContent& content, QWidget* parent = nullptr);

    QLabel* ProgramIcon() const { return programIcon_; }
    QLabel* ProductName() const { return productName_; }
    QLabel* Version() const { return version_; }
    QPushButton* OKButton() const { return okButton_; }

private:
    QLabel* programIcon_;
    QLabel* productName_;
    QLabel* version_;
    QPushButton* okButton_;
};

// Shows the About box modally over the parent's window, centred on the
// screen, and frees it when it closes.
void ShowAboutBox(const AboutBoxContent& content, QWidget* parent);

} // namespace common
