#pragma once

// For tests and the gallery only; the shipped program never includes this header.

#include "controls/rzpopup.h"

#include <utility>

namespace vq {

namespace detail {
extern TRzPopupPanel::ShownHook popupShownHook;
} // namespace detail

// Runs the hook once each popup is on the screen, for as long as the object lives.
class PopupShownHook {
public:
    explicit PopupShownHook(TRzPopupPanel::ShownHook hook)
        : m_previous(std::exchange(detail::popupShownHook, std::move(hook))) {}
    ~PopupShownHook() { detail::popupShownHook = std::move(m_previous); }
    PopupShownHook(const PopupShownHook&) = delete;
    PopupShownHook& operator=(const PopupShownHook&) = delete;

private:
    TRzPopupPanel::ShownHook m_previous;
};

} // namespace vq
