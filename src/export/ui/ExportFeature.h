#pragma once
// The log written for submission and exchange, as a feature of the main window: File >
// "&Write Cabrillo File" opens the summary sheet (modal) and File > "Export &ADIF Format"
// asks for the power, the comment and the file.

#include "ui/Feature.h"

namespace corvane {

class ExportFeature final : public Feature {
public:
    explicit ExportFeature(FeatureContext& context) : m_ctx(context) {}

    void addMenus(MainMenus& menus) override;

    void writeCabrillo();
    void exportAdif();

private:
    FeatureContext& m_ctx;
};

} // namespace corvane
