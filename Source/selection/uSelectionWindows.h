#pragma once
// Installs the taxpayer chooser, the relations window and the record comparison
// window into the openers through which the list frame reaches them.

void InstallSelectionWindows();
