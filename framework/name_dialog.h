// The small window that asks the player for a name. While it lives its owner
// is disabled; the confirmed name goes to the program-wide player name.
#pragma once

#include "framework/controls.h"
#include "framework/form.h"

#include <memory>

namespace Orditex {

// The last name confirmed in a name dialog (empty until then).
extern std::string playerName;

// NOLINTNEXTLINE(cppcoreguidelines-special-member-functions): GUIElement deletes the copies
class FormNamePlayer : public Form {
public:
    FormNamePlayer(Form* ownerForm, HINSTANCE instance, const std::string& title);
    ~FormNamePlayer() override;

    Form* owner = nullptr;
    std::unique_ptr<TextBox> nameBox;
    std::unique_ptr<Label> promptLabel;
    std::unique_ptr<Button> okButton;
    std::string prompt;

    virtual void BuildControls();
    virtual bool OnDialogClose();
    virtual void OnResize() {}
    virtual bool OnChar(int32_t code);
    virtual void OnKeyDown(int32_t) {}
    virtual void OnKeyUp(int32_t) {}
    virtual void OnButtonClick(Button* button);

    void SetPrompt(const std::string& promptText);
};

}  // namespace Orditex
