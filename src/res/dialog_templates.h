#pragma once

#include "platform/dialog_template.h"

extern const DialogTemplate kAboutBoxTemplate;
extern const DialogTemplate kMainDialogTemplate;
extern const DialogTemplate kDupFileNameTemplate;
extern const DialogTemplate kDupVornNameTemplate;
