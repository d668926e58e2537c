#pragma once
// Start and stop work of the package's own units that take part in the
// package's start and stop (see Recognition9r.cpp for the order). Each does
// its work every time it is called; the package information table runs it
// once, on the first Initialize and the matching last Finalize.

void engResample_Initialization();
void engResample_Finalization();
void engCommon9r_Initialization();
void engCommon9r_Finalization();
void engUtilsABBYY9r_Initialization();
void engUtilsABBYY9r_Finalization();
