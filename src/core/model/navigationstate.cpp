#include "navigationstate.h"

NavigationState::NavigationState(QObject *parent)
    : QObject(parent)
{
}

void NavigationState::setSelectedCategory(std::optional<DebugCategory> category)
{
    if (category == m_selected)
        return;
    m_selected = category;
    emit selectedCategoryChanged(category);
}
