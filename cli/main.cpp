// palio2015-cli: the batch front end to the same core as the desktop program.
#include "cli/comandi.h"

int main(int argc, char** argv) { return cli::esegui(argc, argv, cli::comandi(&cli::kStampa)); }
