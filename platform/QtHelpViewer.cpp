#include "QtHelpViewer.h"

#include <QLabel>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "Platform.h"

namespace brenvik {

QtHelpViewer::QtHelpViewer(const QString& manualSource, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_manualSource(manualSource),
      m_browser(new QTextBrowser(this)),
      m_footer(new QLabel(this)) {
    setObjectName(QStringLiteral("helpViewer"));
    setWindowTitle(QStringLiteral("%1 Help").arg(QLatin1String(kAppTitle)));
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenExternalLinks(true);
    m_footer->setObjectName(QStringLiteral("helpFooter"));
    m_footer->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser, 1);
    layout->addWidget(m_footer);
    resize(640, 520);
}

void QtHelpViewer::showHelp(const QString& helpFile, int command) {
    m_footer->setText(QStringLiteral("Help file %1, command %2").arg(helpFile).arg(command));
    m_browser->setSource(QUrl(m_manualSource));
    show();
    raise();
    activateWindow();
}

QString QtHelpViewer::footerText() const { return m_footer->text(); }

}  // namespace brenvik
