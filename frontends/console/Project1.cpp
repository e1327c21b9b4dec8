// The program: one dialog, shown by the front end linked in, which ends
// the program when the dialog has closed.
#include "dialog/Frontend.h"
#include "dialog/Unit1.h"

int main()
{
    TForm1 form;
    Form1 = &form;
    return RunFrontend(form);
}
