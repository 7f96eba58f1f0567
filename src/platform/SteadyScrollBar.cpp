#include "platform/SteadyScrollBar.h"

#include <QStyle>
#include <QStyleOptionSlider>

SteadyScrollBar::Batch::Batch(QScrollBar* bar) : m_bar(qobject_cast<SteadyScrollBar*>(bar)) {
    if (m_bar)
        m_bar->m_bBatching = true;
}

SteadyScrollBar::Batch::~Batch() {
    if (!m_bar)
        return;
    m_bar->m_bBatching = false;
    if (m_bar->m_bChanged && m_bar->CurrentLook() != m_bar->m_painted)
        m_bar->update();
    m_bar->m_bChanged = false;
}

void SteadyScrollBar::sliderChange(SliderChange change) {
    if (m_bBatching && change != SliderOrientationChange) {
        m_bChanged = true;
        return;
    }
    QScrollBar::sliderChange(change);
}

void SteadyScrollBar::paintEvent(QPaintEvent* event) {
    m_painted = CurrentLook();
    QScrollBar::paintEvent(event);
}

SteadyScrollBar::Look SteadyScrollBar::CurrentLook() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return {
        style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
        value() == minimum(), value() == maximum()};
}
