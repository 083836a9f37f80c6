#include "target_integrity.h"

bool KeysMustPass(const Integrity& ours, const Integrity& target) {
    if (ours.answer != IntegrityAnswer::Known) {
        return false;
    }
    switch (target.answer) {
    case IntegrityAnswer::Known:
        return target.level > ours.level;
    case IntegrityAnswer::AccessDenied:
        return true;
    case IntegrityAnswer::Unknown:
        break;
    }
    return false;
}

bool FollowForeground(ForegroundIntegrity& cache, const void* window, unsigned long processId,
                      const Integrity& ours, IntegrityQuery query) {
    if (cache.asked && cache.window == window && cache.processId == processId) {
        return cache.mustPass;
    }
    cache.asked = true;
    cache.window = window;
    cache.processId = processId;
    // Without a foreground window the keys go to no process of another's.
    cache.mustPass = ours.answer == IntegrityAnswer::Known && window != nullptr &&
                     KeysMustPass(ours, query(processId));
    return cache.mustPass;
}

void InjectionRefused(ForegroundIntegrity& cache) {
    if (cache.asked && cache.window != nullptr) {
        cache.mustPass = true;
    }
}
