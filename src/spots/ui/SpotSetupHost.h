#pragma once
// What the DX spotting setup window needs of the main window: the station and the log, the
// preferences file, and the spot area it feeds.

#include "spots/SpotIntake.h"

#include <string>

namespace corvane::spots {

class SpotSetupHost {
public:
    virtual ~SpotSetupHost() = default;
    virtual std::string stationCall() const = 0;
    // The call of the most recently logged contact ("" with an empty log).
    virtual std::string lastLoggedCall() const = 0;
    // Lays out the main window's spot area (list, band map or none) from the window's choices.
    virtual void packetResize() = 0;
    // The two-minute refresh of the age colours.
    virtual void refreshBandMap() = 0;
    // The spots found in one piece of received text, in order (BandMapSpots for each; the
    // displays are redrawn once for all of them).
    virtual void spotsHandedOver(const std::vector<SpotHandOff>& spots) = 0;
};

} // namespace corvane::spots
