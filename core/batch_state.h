/* Process-wide state of a batch run, read by the message routine. */
#ifndef LC_BATCH_STATE_H
#define LC_BATCH_STATE_H

#ifdef __cplusplus
extern "C" {
#endif

int batch_running(void);
void batch_set_running(int on);
/* Set together with running by a run that imagehost drives: errors then do
   not offer to cancel. */
int batch_unattended(void);
void batch_set_unattended(int on);
int batch_cancel_requested(void);
void batch_set_cancel(int on);

#ifdef __cplusplus
}
#endif

#endif
