#pragma once

#include <memory>

#include "classlib/gui/wcontrol.h"
#include "classlib/gui/wform.h"
#include "classlib/gui/wlistview.h"

// The generated layer of the copy dialog: builds the controls of the template
// "ID_WPJCopy" when the window is created and deletes them when it is
// destroyed. The controls exist exactly while the window does.
class __WPJCopy_Base : public WDialog {
public:
    __WPJCopy_Base();
    ~__WPJCopy_Base() override;

    // textb_1, label_1, cb_1, lv_1, cb_2.
    void SetTabOrder() override;

protected:
    // The hand-written layer's handlers of the two buttons and its set-up,
    // run once the controls exist and before the window is shown.
    virtual bool cb_1_Click(WObject* source, void* eventData);
    virtual bool cb_2_Click(WObject* source, void* eventData);
    virtual void SetupControls() {}

    std::unique_ptr<WTextBox> textb_1;
    std::unique_ptr<WLabel> label_1;
    std::unique_ptr<WCommandButton> cb_1;
    std::unique_ptr<WListView> lv_1;
    std::unique_ptr<WCommandButton> cb_2;

private:
    bool __WPJCopy_BaseCreate(WObject* source, void* eventData);
    bool __WPJCopy_BaseClose(WObject* source, void* eventData);
    bool __WPJCopy_BaseDestroy(WObject* source, void* eventData);
    void RegisterClicks();
    void UnregisterClicks();
};
