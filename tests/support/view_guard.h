// Saves the view state and the selectors on construction and puts them back
// on destruction, so a test can change them freely.
#ifndef QUIMBAR_TEST_VIEW_GUARD_H
#define QUIMBAR_TEST_VIEW_GUARD_H

#include "view_state.h"

class ViewGuard {
public:
    ViewGuard() : zoom_(zoom), links_(links), oben_(oben), a_(a), b_(b), a2_(a2), b2_(b2), j_(j), j2_(j2) {}
    ~ViewGuard() {
        zoom = zoom_, links = links_, oben = oben_;
        a = a_, b = b_, a2 = a2_, b2 = b2_;
        j = j_, j2 = j2_;
    }
    ViewGuard(const ViewGuard&) = delete;
    ViewGuard& operator=(const ViewGuard&) = delete;

private:
    double zoom_, links_, oben_, a_, b_, a2_, b2_;
    int j_, j2_;
};

#endif
