#include "ui/Feature.h"

#include <QMenu>
#include <QMenuBar>
#include <algorithm>

namespace corvane {

MenuBarMenus::MenuBarMenus(QMenuBar& menuBar) : m_menuBar(menuBar) {
    QMenu* file = menuBar.addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction* logEnd = file->addSeparator();
    // No line between the two groups of files made from the log: the marker stays hidden.
    QAction* exchangeEnd = file->addSeparator();
    exchangeEnd->setVisible(false);
    QAction* copiesEnd = file->addSeparator();
    m_groups[MenuPlace::FileLog] = {file, logEnd};
    m_groups[MenuPlace::FileExchange] = {file, exchangeEnd};
    m_groups[MenuPlace::FileCopies] = {file, copiesEnd};
    m_groups[MenuPlace::FileEnd] = {file, nullptr};

    QMenu* options = menuBar.addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    QMenu* appearance = new QMenu(QStringLiteral("&Appearance"), options);
    appearance->setObjectName(QStringLiteral("mnuAppearance"));
    QMenu* transmit = new QMenu(QStringLiteral("&Transmit"), options);
    transmit->setObjectName(QStringLiteral("mnuTransmit"));
    // The entry modes come first, then the two submenus, then the subsystems' windows.
    QAction* appearanceItem = options->addMenu(appearance);
    options->addMenu(transmit);
    m_groups[MenuPlace::EntryModes] = {options, appearanceItem};
    m_groups[MenuPlace::Options] = {options, nullptr};
    m_groups[MenuPlace::Appearance] = {appearance, nullptr};
    m_groups[MenuPlace::Transmit] = {transmit, nullptr};

    QMenu* setup = menuBar.addMenu(QStringLiteral("&Setup"));
    setup->setObjectName(QStringLiteral("mnuSetupMenu"));
    m_groups[MenuPlace::Setup] = {setup, nullptr};
}

QAction& MenuBarMenus::add(MenuPlace place, const QString& text, const char* objectName, QObject* context,
                           std::function<void()> action) {
    QAction* item = nullptr;
    if (place == MenuPlace::MenuBar) {
        item = m_menuBar.addAction(text);
    } else {
        const Group& group = m_groups.at(place);
        item = new QAction(text, group.menu);
        group.menu->insertAction(group.end, item);
    }
    item->setObjectName(QString::fromLatin1(objectName));
    QObject::connect(item, &QAction::triggered, context != nullptr ? context : item,
                     [action = std::move(action)] { action(); });
    return *item;
}

QMenu& MenuBarMenus::menu(MenuPlace place) const {
    return *m_groups.at(place).menu;
}

std::vector<Feature*> keyOrder(const std::vector<std::unique_ptr<Feature>>& features) {
    std::vector<Feature*> order;
    order.reserve(features.size());
    for (const auto& feature : features) {
        order.push_back(feature.get());
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const Feature* a, const Feature* b) { return a->keyPriority() < b->keyPriority(); });
    return order;
}

} // namespace corvane
