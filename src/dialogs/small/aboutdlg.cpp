#include "dialogs/small/smalldialogs.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>

namespace {
// Where the About picture lies in the skin.
constexpr int nAboutX = 0, nAboutY = 105;
} // namespace

AboutDlg::AboutDlg(QWidget* hWndOwner, const QImage* skin)
    : SmallDialog(hWndOwner, szAboutTitle, 34, 18, 171, 105, false) {
    if (skin)
        m_skin = *skin;
    else
        m_skin = QImage(QStringLiteral(":/SOURCEBITMAP"));
    // What the picture says, for those who cannot see it.
    auto* picture = new QLabel(this);
    picture->setGeometry(rect());
    if (!m_skin.isNull()) // the same picture: a screen reader meets it as an image
        picture->setPixmap(QPixmap::fromImage(m_skin.copy(nAboutX, nAboutY, width(), height())));
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    picture->setAccessibleName(QStringLiteral("Tonsmith, Version 3.3"));
    picture->setAccessibleDescription(QStringLiteral("The Tonsmith logo"));
    AddButton(smalldlg::IDOK, "OK", 102, 82, 50, 14, true);
}

void AboutDlg::OnCommand(int nId) {
    if (nId == smalldlg::IDOK || nId == smalldlg::IDCANCEL)
        EndDialog();
}

void AboutDlg::paintEvent(QPaintEvent* e) {
    QPainter painter(this);
    // Light gray under everything, the outline falling outside the area.
    painter.fillRect(e->rect().adjusted(-1, -1, 1, 1), QColor(192, 192, 192));
    if (!m_skin.isNull())
        painter.drawImage(QPoint(0, 0), m_skin, QRect(nAboutX, nAboutY, width(), height()));
}
