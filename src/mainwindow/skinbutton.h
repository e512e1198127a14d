// A tool button drawn entirely from the skin: its released image, or its
// pressed image while it is held down.
#pragma once

#include <QAbstractButton>
#include <memory>

class BitObj;

class SkinButton : public QAbstractButton {
    Q_OBJECT
public:
    // skin points at the window's skin pointer, which may still be empty.
    SkinButton(int nId, const std::unique_ptr<BitObj>& skin, QWidget* parent);
    int Id() const { return m_nId; }
    QSize sizeHint() const override { return {34, 34}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int m_nId;
    const std::unique_ptr<BitObj>& m_skin;
};
