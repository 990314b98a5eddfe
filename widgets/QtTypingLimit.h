#pragma once
// A text box's character limit (MaxLength) that, like the original control's, stops the user
// from typing past it but lets the program put a longer text in: a folder chosen with the folder
// chooser is stored whole even when it is longer than the box lets anyone type. QLineEdit's own
// maxLength would cut such a text short.
class QLineEdit;

namespace brenvik {

void limitTyping(QLineEdit* edit, int maxChars);

}  // namespace brenvik
