// Callback fields hold plain functions; a form that wants virtual hooks
// installs these, which find the form of the element and call its hook (the
// derived game's override when there is one). An element of another kind
// gets the default answer: true, let the message go on.
#pragma once

#include "framework/gui_element.h"

namespace Orditex {

template <class FormType, void (FormType::*Hook)()>
void RouteToHook(GUIElement* element) {
    if (auto* form = dynamic_cast<FormType*>(element)) (form->*Hook)();
}

template <class FormType, void (FormType::*Hook)()>
void RouteCreatedToHook(GUIElement* element, HWND) {
    RouteToHook<FormType, Hook>(element);
}

template <class FormType, bool (FormType::*Hook)()>
bool RouteToAnswer(GUIElement* element) {
    auto* form = dynamic_cast<FormType*>(element);
    return form ? (form->*Hook)() : true;
}

template <class FormType, void (FormType::*Hook)(int32_t)>
void RouteKeyToHook(GUIElement* element, int32_t key) {
    if (auto* form = dynamic_cast<FormType*>(element)) (form->*Hook)(key);
}

template <class FormType, bool (FormType::*Hook)(int32_t)>
bool RouteCharToHook(GUIElement* element, int32_t code) {
    auto* form = dynamic_cast<FormType*>(element);
    return form ? (form->*Hook)(code) : true;
}

template <class FormType, void (FormType::*Hook)(int32_t, int32_t)>
void RouteMouseToHook(GUIElement* element, HWND, int32_t x, int32_t y) {
    if (auto* form = dynamic_cast<FormType*>(element)) (form->*Hook)(x, y);
}

}  // namespace Orditex
