// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QWidget>

class QToolButton;

// Numbered tabs "1.", "2.", ... for the sheets of a card. A card may hold a thousand
// sheets, so the tabs are only counted, and only the visible ones are measured and drawn.
class SheetTabBar : public QWidget
{
    Q_OBJECT

public:
    explicit SheetTabBar(QWidget *parent = nullptr);

    int count() const { return m_count; }
    static QString tabText(int index) { return QString::number(index + 1) + QLatin1Char('.'); }
    int currentIndex() const { return m_current; }
    // Selects the first tab (none when empty) without signalling.
    void setCount(int count);
    void setCurrentIndex(int index);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int tabWidth(int index) const;
    int tabHeight() const;
    int stripWidth() const;
    int tabAt(const QPoint &pos) const;
    void scrollBy(int tabs);
    void ensureVisible(int index);
    void updateButtons();

    int m_count = 0;
    int m_current = -1;
    int m_first = 0;
    QToolButton *m_prev = nullptr;
    QToolButton *m_next = nullptr;
};
