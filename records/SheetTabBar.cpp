// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/SheetTabBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionTab>
#include <QToolButton>
#include <algorithm>

namespace {
constexpr int kPadding = 24;
constexpr int kButtonWidth = 20;
} // namespace

SheetTabBar::SheetTabBar(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_prev = new QToolButton(this);
    m_prev->setArrowType(Qt::LeftArrow);
    m_next = new QToolButton(this);
    m_next->setArrowType(Qt::RightArrow);
    connect(m_prev, &QToolButton::clicked, this, [this] { scrollBy(-1); });
    connect(m_next, &QToolButton::clicked, this, [this] { scrollBy(1); });
    updateButtons();
}

int SheetTabBar::tabWidth(int index) const
{
    return fontMetrics().horizontalAdvance(tabText(index)) + kPadding;
}

int SheetTabBar::tabHeight() const
{
    return fontMetrics().height() + 10;
}

QSize SheetTabBar::sizeHint() const
{
    return {200, tabHeight()};
}

QSize SheetTabBar::minimumSizeHint() const
{
    return {3 * kButtonWidth, tabHeight()};
}

int SheetTabBar::stripWidth() const
{
    const bool scrolling = m_prev->isVisible();
    return width() - (scrolling ? 2 * kButtonWidth : 0);
}

void SheetTabBar::setCount(int count)
{
    m_count = std::max(count, 0);
    m_current = m_count > 0 ? 0 : -1;
    m_first = 0;
    updateButtons();
    update();
}

void SheetTabBar::setCurrentIndex(int index)
{
    if (index < 0 || index >= m_count || index == m_current)
        return;
    m_current = index;
    ensureVisible(index);
    update();
    emit currentChanged(index);
}

void SheetTabBar::ensureVisible(int index)
{
    if (index < m_first) {
        m_first = index;
    } else {
        int x = 0;
        for (int i = m_first; i <= index; ++i)
            x += tabWidth(i);
        while (x > stripWidth() && m_first < index)
            x -= tabWidth(m_first++);
    }
    updateButtons();
}

void SheetTabBar::scrollBy(int tabs)
{
    m_first = std::clamp(m_first + tabs, 0, std::max(m_count - 1, 0));
    updateButtons();
    update();
}

void SheetTabBar::updateButtons()
{
    // Only the first tabs that fit are measured: that decides whether arrows are needed.
    int x = 0;
    for (int i = 0; i < m_count && x <= width(); ++i)
        x += tabWidth(i);
    const bool scrolling = m_first > 0 || x > width();
    m_prev->setVisible(scrolling);
    m_next->setVisible(scrolling);
    m_prev->setGeometry(width() - 2 * kButtonWidth, 0, kButtonWidth, tabHeight());
    m_next->setGeometry(width() - kButtonWidth, 0, kButtonWidth, tabHeight());
    m_prev->setEnabled(m_first > 0);
    m_next->setEnabled(m_first < m_count - 1);
}

void SheetTabBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateButtons();
}

int SheetTabBar::tabAt(const QPoint &pos) const
{
    int x = 0;
    for (int i = m_first; i < m_count && x < stripWidth(); ++i) {
        const int w = tabWidth(i);
        if (pos.x() >= x && pos.x() < x + w)
            return i;
        x += w;
    }
    return -1;
}

void SheetTabBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // No clip: a window recorded for a printer lost every tab under one. The last tab is cut
    // to the strip instead.
    int x = 0;
    for (int i = m_first; i < m_count && x < stripWidth(); ++i) {
        QStyleOptionTab option;
        option.initFrom(this);
        option.shape = QTabBar::RoundedNorth;
        option.text = tabText(i);
        option.rect = QRect(x, 0, std::min(tabWidth(i), stripWidth() - x), height());
        option.position = m_count == 1       ? QStyleOptionTab::OnlyOneTab
                          : i == 0           ? QStyleOptionTab::Beginning
                          : i == m_count - 1 ? QStyleOptionTab::End
                                             : QStyleOptionTab::Middle;
        option.state &= ~QStyle::State_HasFocus;
        if (i == m_current)
            option.state |= QStyle::State_Selected;
        style()->drawControl(QStyle::CE_TabBarTab, &option, &painter, this);
        x += option.rect.width();
    }
}

void SheetTabBar::mousePressEvent(QMouseEvent *event)
{
    const int index = tabAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index >= 0)
        setCurrentIndex(index);
}

void SheetTabBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Left)
        setCurrentIndex(m_current - 1);
    else if (event->key() == Qt::Key_Right)
        setCurrentIndex(m_current + 1);
    else
        QWidget::keyPressEvent(event);
}
