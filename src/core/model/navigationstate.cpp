#include "navigationstate.h"

NavigationState::NavigationState(QObject *parent)
    : QObject(parent)
{
}

void NavigationState::setSelectedCategory(std::optional<DebugCategory> category)
{
    select(category, std::nullopt);
}

void NavigationState::setSelectedReader(std::optional<OutputReader> reader)
{
    select(reader ? std::nullopt : m_selected, reader);
}

void NavigationState::openForm(const FilledForm &form)
{
    setSelectedCategory(form.category);
    emit formOpened(form);
}

void NavigationState::select(std::optional<DebugCategory> category, std::optional<OutputReader> reader)
{
    const bool categoryChanged = category != m_selected;
    const bool readerChanged = reader != m_reader;
    m_selected = category;
    m_reader = reader;
    if (categoryChanged)
        emit selectedCategoryChanged(category);
    if (readerChanged)
        emit selectedReaderChanged(reader);
}
