#include "framework/name_dialog.h"

#include "framework/hook_routing.h"
#include "framework/shell.h"

namespace Orditex {

std::string playerName;

namespace {

FormNamePlayer* AsNameDialog(GUIElement* element) {
    return dynamic_cast<FormNamePlayer*>(element);
}

// Characters typed in the name box go to the dialog that holds it, so that
// Enter in the box confirms the name.
bool RouteChar(GUIElement* element, int32_t code) {
    if (dynamic_cast<TextBox*>(element)) {
        FormNamePlayer* dialog = AsNameDialog(element->parent);
        return dialog ? dialog->OnChar(code) : true;
    }
    if (FormNamePlayer* dialog = AsNameDialog(element)) return dialog->OnChar(code);
    return true;
}

// The system gives the focus to the dialog window itself whenever it is
// activated; the name box takes it on, so typed keys always reach the name.
void PassFocusToNameBox(GUIElement* element) {
    FormNamePlayer* dialog = AsNameDialog(element);
    if (dialog && dialog->nameBox && dialog->nameBox->hwnd) dialog->nameBox->Focus();
}

// Gives the owner back its input: it takes keys and clicks again and no
// longer keeps a dialog in front of it.
void ReleaseOwner(Form& owner) {
    owner.companion = nullptr;
    owner.SetEnabled(true);
}

void RouteButtonClick(CommandElement* element) {
    // Only the dialog's own OK button is given this callback.
    Button* button = static_cast<Button*>(element);
    if (FormNamePlayer* dialog = AsNameDialog(button->parent)) dialog->OnButtonClick(button);
}

// The client width as the window has it now. During the window-created
// notification the form is not yet marked created, so the element's own
// reading would still give the outer width.
int32_t CurrentClientWidth(GUIElement& element) {
    RECT client{};
    if (element.hwnd && GetClientRect(element.hwnd, &client)) return client.right - client.left;
    return element.GetClientWidth();
}

}  // namespace

FormNamePlayer::FormNamePlayer(Form* ownerForm, HINSTANCE instance, const std::string& title)
    : Form(instance, dialogForm) {
    topmost = false;
    owner = ownerForm;
    if (owner) {
        owner->SetEnabled(false);
        owner->companion = this;
        // Owned by the owner's window, so that it is never left behind it.
        if (owner->hwnd && IsWindow(owner->hwnd)) ownerWindow = owner->hwnd;
    }
    SetSize(250, 150);
    SetText(title);
    minimizeBox = false;
    maximizeBox = false;

    onCreated = RouteCreatedToHook<FormNamePlayer, &FormNamePlayer::BuildControls>;
    onClosing = RouteToAnswer<FormNamePlayer, &FormNamePlayer::OnDialogClose>;
    onResize = RouteToHook<FormNamePlayer, &FormNamePlayer::OnResize>;
    onChar = RouteChar;
    onKeyDown = RouteKeyToHook<FormNamePlayer, &FormNamePlayer::OnKeyDown>;
    onKeyUp = RouteKeyToHook<FormNamePlayer, &FormNamePlayer::OnKeyUp>;
    onFocus = PassFocusToNameBox;

    Create();
}

FormNamePlayer::~FormNamePlayer() {
    // Close the window while its controls still have their elements, so
    // none of their last messages reaches a deleted object; closing also
    // gives the owner back its input.
    CloseAndDestroy();
    // A window destroyed without a close request never released the owner.
    if (owner && owner->companion == this) ReleaseOwner(*owner);
    // Written out: the controls go after the window, in this order.
    nameBox.reset();
    promptLabel.reset();
    okButton.reset();
}

void FormNamePlayer::BuildControls() {
    int32_t clientWidth = CurrentClientWidth(*this);
    // One by one: a new window's first messages go to the newest element,
    // so each control is made only once the one before has its window.
    promptLabel = std::make_unique<Label>(this, prompt);
    promptLabel->SetSize(clientWidth - 10, 25);
    promptLabel->x = 5;
    promptLabel->y = 5;
    promptLabel->Create();

    clientWidth = CurrentClientWidth(*this);
    nameBox = std::make_unique<TextBox>(this, "");
    nameBox->SetSize(clientWidth / 2 - 10, 25);
    nameBox->x = 5;
    nameBox->y = 35;
    nameBox->maxLength = 10;
    nameBox->upperCase = true;
    nameBox->lowerCase = false;
    nameBox->ApplyStyle();
    nameBox->onChar = RouteChar;
    nameBox->Create();
    nameBox->Focus();

    clientWidth = CurrentClientWidth(*this);
    okButton = std::make_unique<Button>(this, "OK");
    okButton->SetSize(80, 25);
    okButton->x = clientWidth / 2 + 5;
    okButton->y = 35;
    okButton->onClick = RouteButtonClick;
    okButton->Create();
}

bool FormNamePlayer::OnDialogClose() {
    UnregisterHotKeys();
    if (owner) ReleaseOwner(*owner);
    return true;
}

bool FormNamePlayer::OnChar(int32_t code) {
    // The name is stored in the code page: a character it cannot hold is not
    // taken, rather than shown here and stored as "?".
    if (code > 0 && code <= 0xFFFF && !CodePageHolds(static_cast<wchar_t>(code))) return false;
    if (code != VK_RETURN) return true;
    OnButtonClick(okButton.get());
    return false;  // no beep from the edit control
}

void FormNamePlayer::OnButtonClick(Button* button) {
    if (!button || !okButton || button->id != okButton->id) return;
    std::string name = nameBox ? nameBox->GetText() : std::string();
    if (name.empty()) return;  // an empty name is refused: the dialog stays
    playerName = name;
    RequestClose();
}

void FormNamePlayer::SetPrompt(const std::string& promptText) {
    prompt = promptText;
    if (created && promptLabel) promptLabel->SetText(promptText);
}

}  // namespace Orditex
