#include "platform/PortBroker.h"

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

void PortBroker::displace(PortOwner owner) {
    const auto it = m_holders.find(owner);
    if (it == m_holders.end() || !it->second.open) {
        return;
    }
    it->second.open = false;
    if (it->second.release) {
        it->second.release();
    }
}

bool PortBroker::acquire(PortOwner owner, const std::string& device, std::string* refusal, PortKind kind) {
    if (kind == PortKind::Serial) {
        for (const PortOwner other : displacedBy(owner)) {
            displace(other);
        }
        const std::string wanted = canonical(device);
        for (const auto& [other, holder] : m_holders) {
            if (other == owner || !holder.open || holder.kind != PortKind::Serial || device.empty()) {
                continue;
            }
            if (canonical(holder.device) == wanted) {
                if (refusal) {
                    *refusal = device + " is already in use by " + describe(other) +
                               ". Choose another port, or close it there first.";
                }
                return false;
            }
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
    for (auto& [owner, holder] : m_holders) {
        (void)owner;
        if (holder.open) {
            holder.open = false;
            if (holder.release) {
                holder.release();
            }
        }
    }
}

} // namespace corvane
