#include "platform/Dialogs.h"

namespace mb {

int defaultAnswer(int style) {
    static const int answers[][3] = {
        {OK, OK, OK},      {OK, Cancel, Cancel}, {Abort, Retry, Ignore},
        {Yes, No, Cancel}, {Yes, No, No},        {Retry, Cancel, Cancel},
    };
    const int buttons = buttonsOf(style);
    if (buttons > RetryCancel) {
        return OK;
    }
    const int index = defaultButtonOf(style);
    return answers[buttons][index < 3 ? index : 0];
}

}  // namespace mb
