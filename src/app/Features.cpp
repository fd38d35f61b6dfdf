#include "app/MainWindow.h"
#include "cw/ui/CwFeature.h"
#include "export/ui/ExportFeature.h"
#include "graph/ui/GraphFeature.h"
#include "history/ui/HistoryFeature.h"
#include "platform/ui/SerialPortsFeature.h"
#include "report/ui/ReportFeature.h"
#include "rig/ui/RigFeature.h"
#include "scp/ui/ScpFeature.h"
#include "spots/ui/SpotsFeature.h"
#include "voice/ui/VoiceFeature.h"

namespace corvane {

// The one place the subsystems are plugged in. Keys go round by each feature's key priority
// (the voice keyer's loop ends first, then the CW keys), then in this order; menu items of
// one place keep it too.
std::vector<std::unique_ptr<Feature>> makeFeatures(FeatureContext& context) {
    std::vector<std::unique_ptr<Feature>> features;
    features.push_back(std::make_unique<VoiceFeature>(context));
    features.push_back(std::make_unique<cw::CwFeature>(context));
    features.push_back(std::make_unique<ExportFeature>(context));
    features.push_back(std::make_unique<GraphFeature>(context));
    features.push_back(std::make_unique<rig::RigFeature>(context));
    features.push_back(std::make_unique<spots::SpotsFeature>(context));
    features.push_back(std::make_unique<scp::ScpFeature>(context));
    features.push_back(std::make_unique<history::HistoryFeature>(context));
    features.push_back(std::make_unique<SerialPortsFeature>(context));
    features.push_back(std::make_unique<ReportFeature>(context));
    return features;
}

} // namespace corvane
