#pragma once
// The help viewer: a small free-standing window that shows the program's own manual. The help
// file and command the windows ask for are named in its footer; the manual shown is always the
// bundled one, since the help file the windows name is not part of the program.
#include <QString>
#include <QWidget>

class QLabel;
class QTextBrowser;

namespace brenvik {

class QtHelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit QtHelpViewer(const QString& manualSource, QWidget* parent = nullptr);

    void showHelp(const QString& helpFile, int command);

    QTextBrowser* browser() const { return m_browser; }
    QString footerText() const;

private:
    QString m_manualSource;
    QTextBrowser* m_browser;
    QLabel* m_footer;
};

}  // namespace brenvik
