/* The operator's hand for the C host test: a C host has no way to press a
 * button of the scanner's window, so this part, in C++, does it for the test. */
#ifndef R9_TEST_SCAN_WINDOW_OPERATOR_H
#define R9_TEST_SCAN_WINDOW_OPERATOR_H

#ifdef __cplusplus
extern "C" {
#endif

/* Presses "Scan" in the specimen scanner's window once it shows. Call it
   after enabling the source and before running the modal loop. */
void OperatorScansWhenTheWindowShows(void);
/* The pages in the picture list when "Scan" was pressed; -1 when the window
   never showed. */
int OperatorPagesBeforeTheAnswer(void);

#ifdef __cplusplus
}
#endif

#endif
