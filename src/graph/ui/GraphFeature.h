#pragma once
// The QSO rate graph as a feature of the main window: "&Graph" on the menu bar opens it
// (modal, made anew each time from the log as it stands).

#include "ui/Feature.h"

namespace corvane {

class GraphFeature final : public Feature {
public:
    explicit GraphFeature(FeatureContext& context) : m_ctx(context) {}

    void addMenus(MainMenus& menus) override;
    void showGraph();

private:
    FeatureContext& m_ctx;
};

} // namespace corvane
