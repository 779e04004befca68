#include "platform/sim/sim_system.h"

bool SimSystem::createInstanceEvent(const std::string& name) { return events.insert(name).second; }

std::uint32_t SimSystem::readInstanceWindow(const std::string& name) {
    auto it = registry.find(name);
    return it == registry.end() ? 0 : it->second;
}

void SimSystem::writeInstanceWindow(const std::string& name, std::uint32_t window) {
    registry[name] = window;
}

void SimSystem::deleteInstanceWindow(const std::string& name) { registry.erase(name); }

bool SimSystem::handOverPaths(std::uint32_t window, const std::string& paths) {
    if (window == 0 || paths.empty()) return false;
    if (refusedHandOvers > 0) return --refusedHandOvers, false;
    handedOver[window] += paths;
    return true;
}

void SimSystem::startThread(std::function<void()> fn) {
    if (holdThreads) threads.push_back(std::move(fn));
    else fn();
}

void SimSystem::runPosted() {
    for (;;) {
        std::function<void()> fn;
        {
            std::lock_guard lock(postMutex);
            if (posted.empty()) return;
            fn = std::move(posted.front());
            posted.pop_front();
        }
        fn();
    }
}
