// The package manager's command line: "-f" and the manifest's path.
#ifndef VESTA_VERMANAGER_COMMAND_LINE_H
#define VESTA_VERMANAGER_COMMAND_LINE_H

// Finds the value of "-" + letter in text: the characters right after the
// letter up to a blank or tab, or up to the closing quote when they begin
// with a double or single quote. The whole text is searched, program path
// included, and the first "-" + letter wins. 1 when at least one character
// was copied into out (at most capacity characters, then cut), else 0.
int ParseOptionValue(char* out, const char* text, char letter, int capacity = 259);

#endif
