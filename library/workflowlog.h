#ifndef LIBRARY_WORKFLOWLOG_H
#define LIBRARY_WORKFLOWLOG_H

// The log banner of a long workflow: a rule of 44 equals signs, the title
// after ten spaces, another rule.
void logBanner(const char* title);

#endif
