#include "app/MainWindow.h"
#include "cw/ui/CwFeature.h"
#include "history/ui/HistoryFeature.h"
#include "platform/ui/SerialPortsFeature.h"
#include "report/ui/ReportFeature.h"
#include "rig/ui/RigFeature.h"
#include "scp/ui/ScpFeature.h"
#include "spots/ui/SpotsFeature.h"
#include "voice/ui/VoiceFeature.h"

namespace corvane {

// The one place the subsystems are plugged in. They see keys in this order.
std::vector<std::unique_ptr<Feature>> makeFeatures(FeatureContext& context) {
    std::vector<std::unique_ptr<Feature>> features;
    features.push_back(std::make_unique<VoiceFeature>(context)); // sees every key first: ends the F1 loop
    features.push_back(std::make_unique<cw::CwFeature>(context));
    features.push_back(std::make_unique<rig::RigFeature>(context));
    features.push_back(std::make_unique<spots::SpotsFeature>(context));
    features.push_back(std::make_unique<scp::ScpFeature>(context));
    features.push_back(std::make_unique<history::HistoryFeature>(context));
    features.push_back(std::make_unique<SerialPortsFeature>(context));
    features.push_back(std::make_unique<ReportFeature>(context));
    return features;
}

} // namespace corvane
