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
/* The run counter (16 bits): the number of the current batch run, kept in
   value "Session" of section "Batch" so that every run of every program
   session has its own number.  Begin takes the stored number, adds 1,
   stores it and makes it current. */
unsigned batch_session(void);
unsigned batch_session_begin(void);
/* A run driven by imagehost: on starts a new run (running, unattended and
   a new session number); off ends it. */
void batch_set_host_run(int on);
int batch_cancel_requested(void);
void batch_set_cancel(int on);

#ifdef __cplusplus
}
#endif

#endif
