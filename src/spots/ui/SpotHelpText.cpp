#include "spots/ui/SpotHelpText.h"

#include <vector>

namespace corvane::spots {

namespace {

const char* const kGeneral =
    "Use this form to configure your DX spotting options.  Choose a source of DX spots in the list, fill in "
    "its settings, click Open Port and then Done.  The spots are shown at the bottom of the main form, either "
    "as a list of the last 2-3 posts or as a band map that shows the prefixes of the spots on the current "
    "band.  Move the mouse over a band map label to see its call, frequency and time in a tool tip and in "
    "the Possible Duplicates box.\r\n"
    "The program keeps the last 50 DX posts regardless of band in memory.  A spot younger than 10 minutes "
    "is shown in yellow, one younger than 30 minutes in white and one younger than an hour in gray; older "
    "spots are no longer shown.  Right click a spot on the band map or on the HF spectrum map (Ctrl+B) to "
    "tune your rig to it and put its call in the call field; a click in list mode puts the call in the call "
    "field and tunes the rig when a rig interface is selected, but does not close the list.  A left click "
    "on a band map label removes that spot from the maps.";

const char* const kTelnet =
    "If you have an Internet connection you can receive spots from a DX cluster node over Telnet.  Connect "
    "to the Internet, type the node's host name and port (often 23, 7000, 7300 or 8000) in Telnet Host and "
    "Telnet Port, and click Open Port.  When the node asks for your call sign, type it in the send field and "
    "press enter.  Anything else you type there is sent to the node when you press enter.";

const char* const kTnc =
    "To use a Packet TNC, set the baud rate, parity, data bits, stop bits, comm port, connection power and "
    "handshaking as your modem's documentation says, then click Open Port.  Press Ctrl C or Esc to send the "
    "TNC cmd mode hex character (03 is Ctrl C) without pressing enter; otherwise type your text or command "
    "in the send field and press enter.\r\n"
    "One nice feature with the packet option is the List DX Only box: when it is ticked, only DX spots are "
    "shown here and on the main form, and the conversation on the frequency is left out.  Repeated posts "
    "are eliminated: a line already received within the last 800 characters of this window is dropped.";

const char* const kAgw =
    "This program will also interface with the AGW Packet Engine.  On Linux the engine is Dire Wolf "
    "(Debian package direwolf, see " // address appended below
    "";                              // continued in agwParagraph()

const char* const kWhenDone =
    "When you have configured your DX spotting options, click Open Port and then Done.  Click the list or "
    "the band map on the main form to come back to this window.  Choose None and click Done to give the "
    "main form its full size again.";

const char* const kTested =
    "This code was developed and tested with a Kantronics KPC3+ TNC, with DX cluster nodes over Telnet and "
    "with Dire Wolf as the AGW Packet Engine.";

std::string agwParagraph() {
    return std::string(kAgw) + kAgwDownloadAddress +
           "; the Windows engine comes as AGWPE.zip).  Install it (apt install direwolf), give its "
           "configuration file (direwolf.conf) your call sign in MYCALL, your sound card in ADEVICE and the "
           "line AGWPORT 8000, and start it in a terminal with: direwolf -c direwolf.conf\r\n"
           "- Click Open from this program.\r\n"
           "Monitored packets are shown here and their DX spots reach the main form.  To connect to a DX "
           "cluster station type :C Varkel     or to disconnect :D\r\n"
           "and press enter (you can also use the Esc key to add a colon).";
}

} // namespace

std::string sourceHelpText(const std::string& source) {
    std::vector<std::string> parts;
    if (source == "TNC") {
        parts = {kTnc, kWhenDone, kTested};
    } else if (source == "Telnet") {
        parts = {kTelnet, kWhenDone};
    } else if (source == "AGW Packet Engine") {
        parts = {agwParagraph(), kWhenDone, kTested};
    } else {
        parts = {kGeneral, kTelnet, kTnc, agwParagraph(), kWhenDone, kTested};
    }
    std::string out;
    for (const auto& p : parts) {
        if (!out.empty()) {
            out += "\r\n\r\n";
        }
        out += p;
    }
    return out + "\r\n";
}

} // namespace corvane::spots
