#pragma once
// Each program links exactly one front end (frontends/console or
// frontends/win32), which
// implements this: it gives the form its toolkit, shows the dialog (FormShow
// first), lets the user work it, calls FormClose once when it has closed,
// and returns the program's exit status.
class TForm1;

int RunFrontend(TForm1& form);
