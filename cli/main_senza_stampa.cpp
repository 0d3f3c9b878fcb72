// palio2015-cli of the build without Qt (the sanitizer run): every command but "stampa".
#include "cli/comandi.h"

int main(int argc, char** argv) { return cli::esegui(argc, argv, cli::comandi(nullptr)); }
