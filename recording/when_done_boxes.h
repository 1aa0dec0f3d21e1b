#pragma once

class CheckBox;
class QRadioButton;

// The rules of the "When done" boxes: the formats are offered only while "Save
// playlist" is ticked, and "Shut down computer" always comes with "Exit program".
// They follow every change of a box, by the user or by the program.
void connectWhenDoneRules(CheckBox* save, QRadioButton* m3u, QRadioButton* pls,
                          CheckBox* exit, CheckBox* shutdown);
