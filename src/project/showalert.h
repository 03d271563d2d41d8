#pragma once

#include "projectfiles.h"

// Runs the application-modal alert for a failure of the project's file work.
void showAlert(const ProjectFiles::Alert &alert);
