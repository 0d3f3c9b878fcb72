#pragma once

int eseguiEditorTest(int argc, char** argv);
int eseguiProfessionistiTest(int argc, char** argv);
int eseguiRicercaTest(int argc, char** argv);
int eseguiAspettoTest(int argc, char** argv);
int eseguiControlliTest(int argc, char** argv);
int eseguiCasellaTest(int argc, char** argv);
int eseguiInvioTest(int argc, char** argv);
