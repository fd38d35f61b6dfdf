#include "platform/PortBroker.h"

#include <algorithm>
#include <filesystem>

namespace corvane {

namespace {

// Two names of one device (a by-id link and its tty) are the same device.
std::string canonical(const std::string& device) {
    std::error_code error;
    const auto resolved = std::filesystem::canonical(device, error);
    return error ? device : resolved.string();
}

} // namespace

std::vector<PortOwner> PortBroker::displacedBy(PortOwner opening) {
    switch (opening) {
    case PortOwner::CwKeying:
        return {PortOwner::PushToTalk};
    case PortOwner::PushToTalk:
        return {PortOwner::WinKeyer, PortOwner::CwKeying};
    case PortOwner::WinKeyer:
        return {PortOwner::CwKeying, PortOwner::PushToTalk};
    case PortOwner::Rig:
    case PortOwner::Tnc:
        return {};
    }
    return {};
}

std::string PortBroker::describe(PortOwner owner) {
    switch (owner) {
    case PortOwner::CwKeying:
        return "the CW keying";
    case PortOwner::PushToTalk:
        return "the push-to-talk";
    case PortOwner::WinKeyer:
        return "the WinKeyer";
    case PortOwner::Rig:
        return "the rig link";
    case PortOwner::Tnc:
        return "the packet TNC";
    }
    return "another part of the program";
}

void PortBroker::join(PortOwner owner, Release release) {
    m_holders[owner].release = std::move(release);
}

void PortBroker::leave(PortOwner owner) {
    m_holders.erase(owner);
}

// The holder is marked closed before it is told, and the callback runs from a copy: a
// callback may release, acquire or leave, which changes the map under it.
void PortBroker::displace(PortOwner owner) {
    const auto it = m_holders.find(owner);
    if (it == m_holders.end() || !it->second.open) {
        return;
    }
    it->second.open = false;
    const Release release = it->second.release;
    if (release) {
        release();
    }
}

bool PortBroker::acquire(PortOwner owner, const std::string& device, std::string* refusal, PortKind kind) {
    if (kind == PortKind::Serial && !device.empty()) {
        // First decide: every other holder of this device must be one the sharing rules let
        // this owner close. A refused acquire has closed nobody.
        const std::vector<PortOwner> closable = displacedBy(owner);
        const std::string wanted = canonical(device);
        std::vector<PortOwner> sharing;
        for (const auto& [other, holder] : m_holders) {
            if (other == owner || !holder.open || holder.kind != PortKind::Serial ||
                canonical(holder.device) != wanted) {
                continue;
            }
            if (std::find(closable.begin(), closable.end(), other) == closable.end()) {
                if (refusal) {
                    *refusal = device + " is already in use by " + describe(other) +
                               ". Choose another port, or close it there first.";
                }
                return false;
            }
            sharing.push_back(other);
        }
        // Then displace the owners on this device; owners on other devices keep their ports.
        for (const PortOwner other : sharing) {
            displace(other);
        }
    }
    Holder& holder = m_holders[owner];
    holder.device = device;
    holder.kind = kind;
    holder.open = true;
    return true;
}

void PortBroker::released(PortOwner owner) {
    if (const auto it = m_holders.find(owner); it != m_holders.end()) {
        it->second.open = false;
    }
}

std::string PortBroker::deviceOf(PortOwner owner) const {
    const auto it = m_holders.find(owner);
    return it == m_holders.end() || !it->second.open ? std::string() : it->second.device;
}

void PortBroker::releaseAll() {
    std::vector<PortOwner> holding;
    for (const auto& [owner, holder] : m_holders) {
        if (holder.open) {
            holding.push_back(owner);
        }
    }
    for (const PortOwner owner : holding) {
        displace(owner); // skips an owner an earlier callback closed or took out
    }
}

} // namespace corvane
