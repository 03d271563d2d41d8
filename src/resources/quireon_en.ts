<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en">
<context>
    <name>Quireon</name>
    <message>
        <source>LaunchError</source>
        <translation>Quireon Error: cannot start the program “%@”. Check the command line in Preferences.
</translation>
    </message>
    <message>
        <source>ExecutingStatus</source>
        <translation>Running: %@</translation>
    </message>
    <message>
        <source>ErrorStatus</source>
        <translation>Failed: %@</translation>
    </message>
    <message>
        <source>DoneStatus</source>
        <translation>Done: %@</translation>
    </message>
    <message>
        <source>ToolExitStatus</source>
        <translation>%@ ended with exit status %@.</translation>
    </message>
    <message>
        <source>ToolSignal</source>
        <translation>%@ was ended by signal %@ (%@).</translation>
    </message>
    <message>
        <source>LogLeftOut</source>
        <translation>%@ characters of earlier output left out.</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>RootMissingHeader</source>
        <translation>The root file is missing</translation>
    </message>
    <message>
        <source>RootMissingMessage</source>
        <translation>Quireon cannot find the file “%@”. Auto mode has been switched off.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>FileChangedLog</source>
        <translation>%@ changed</translation>
    </message>
    <message>
        <source>StepSkipped</source>
        <translation>%@ skipped: %@</translation>
    </message>
    <message>
        <source>StepRuns</source>
        <translation>%@ runs: %@</translation>
    </message>
    <message>
        <source>StepAgain</source>
        <translation>%@ again: %@</translation>
    </message>
    <message>
        <source>NotSettledNote</source>
        <translation>references did not settle after %@ passes</translation>
    </message>
    <message>
        <source>ReasonFirstRun</source>
        <translation>no earlier run since the document was opened</translation>
    </message>
    <message>
        <source>ReasonMissing</source>
        <translation>%@ is missing</translation>
    </message>
    <message>
        <source>ReasonChanged</source>
        <translation>%@ changed</translation>
    </message>
    <message>
        <source>ReasonCitationsChanged</source>
        <translation>citations changed</translation>
    </message>
    <message>
        <source>ReasonCitationsUnchanged</source>
        <translation>citations unchanged</translation>
    </message>
    <message>
        <source>ReasonEntriesChanged</source>
        <translation>index entries changed</translation>
    </message>
    <message>
        <source>ReasonEntriesUnchanged</source>
        <translation>index entries unchanged</translation>
    </message>
    <message>
        <source>ReasonLabelsChanged</source>
        <translation>labels changed</translation>
    </message>
    <message>
        <source>ReasonPackageAsked</source>
        <translation>a package asked for another pass</translation>
    </message>
    <message>
        <source>ReasonSettled</source>
        <translation>references settled</translation>
    </message>
    <message>
        <source>OpenButtonErrorHeader</source>
        <translation>The file cannot be opened</translation>
    </message>
    <message>
        <source>OpenButtonErrorMessage</source>
        <translation>“%@” does not exist or no application can open it.</translation>
    </message>
    <message>
        <source>OpenButtonErrorLog</source>
        <translation>Quireon Error: the output file cannot be opened.
</translation>
    </message>
    <message>
        <source>ClearFileHeader</source>
        <translation>Clear the auxiliary files?</translation>
    </message>
    <message>
        <source>ClearFileMessage</source>
        <translation>The files of the root file with these extensions will be deleted: %@</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>cmdToolTip</source>
        <translation>Runs %@</translation>
    </message>
    <message>
        <source>openToolTip</source>
        <translation>Opens %@</translation>
    </message>
    <message>
        <source>Menu ClearLog</source>
        <translation>Clear Log</translation>
    </message>
    <message>
        <source>Menu ClearFiles</source>
        <translation>Clear Auxiliary Files...</translation>
    </message>
    <message>
        <source>Menu RunSequence</source>
        <translation>Run Procedure</translation>
    </message>
    <message>
        <source>Menu StopSequence</source>
        <translation>Stop Procedure</translation>
    </message>
    <message>
        <source>Menu SymLink</source>
        <translation>Create Symbolic Link...</translation>
    </message>
    <message>
        <source>Menu Process</source>
        <translation>Process</translation>
    </message>
    <message>
        <source>NoticeDone</source>
        <translation>%@: done</translation>
    </message>
    <message>
        <source>NoticeDonePages</source>
        <translation>%@: done, %@</translation>
    </message>
    <message>
        <source>NoticeProblems</source>
        <translation>%@: %@, %@</translation>
    </message>
    <message>
        <source>NoticeOnePage</source>
        <translation>1 page</translation>
    </message>
    <message>
        <source>NoticePages</source>
        <translation>%@ pages</translation>
    </message>
    <message>
        <source>NoticeOneError</source>
        <translation>1 error</translation>
    </message>
    <message>
        <source>NoticeErrors</source>
        <translation>%@ errors</translation>
    </message>
    <message>
        <source>NoticeOneWarning</source>
        <translation>1 warning</translation>
    </message>
    <message>
        <source>NoticeWarnings</source>
        <translation>%@ warnings</translation>
    </message>
    <message>
        <source>NoticeShowAction</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>ChangesSinceLastRun</source>
        <translation>%@ new, %@ resolved since the last run</translation>
    </message>
    <message>
        <source>SourceMissingHeader</source>
        <translation>The source file cannot be found</translation>
    </message>
    <message>
        <source>SourceMissingMessage</source>
        <translation>“%@” does not exist.</translation>
    </message>
    <message>
        <source>EditorErrorHeader</source>
        <translation>The editor cannot be started</translation>
    </message>
    <message>
        <source>EditorErrorMessage</source>
        <translation>Quireon cannot start “%@”. Check the editor command in Preferences.</translation>
    </message>
    <message>
        <source>EditorQuoteMessage</source>
        <translation>A quote in the editor command “%@” is never closed, or the command ends in a lone backslash. Quote it as in a shell, in Preferences.</translation>
    </message>
    <message>
        <source>cmdName1</source>
        <translation>pdfLaTeX</translation>
    </message>
    <message>
        <source>cmdName2</source>
        <translation>BibTeX</translation>
    </message>
    <message>
        <source>cmdName3</source>
        <translation>MakeIndex</translation>
    </message>
    <message>
        <source>cmdName4</source>
        <translation>LaTeX</translation>
    </message>
    <message>
        <source>cmdName5</source>
        <translation>dvipdfmx</translation>
    </message>
    <message>
        <source>cmdExt1</source>
        <translation>tex</translation>
    </message>
    <message>
        <source>cmdExt2</source>
        <translation>aux</translation>
    </message>
    <message>
        <source>cmdExt3</source>
        <translation>idx</translation>
    </message>
    <message>
        <source>cmdExt4</source>
        <translation>tex</translation>
    </message>
    <message>
        <source>cmdExt5</source>
        <translation>dvi</translation>
    </message>
    <message>
        <source>cmdCmd1</source>
        <translation>/usr/bin/pdflatex -synctex=1 -cnf-line=max_print_line=10000 %1</translation>
    </message>
    <message>
        <source>cmdCmd2</source>
        <translation>/usr/bin/bibtex %1</translation>
    </message>
    <message>
        <source>cmdCmd3</source>
        <translation>/usr/bin/makeindex %1</translation>
    </message>
    <message>
        <source>cmdCmd4</source>
        <translation>/usr/bin/latex -cnf-line=max_print_line=10000 %1</translation>
    </message>
    <message>
        <source>cmdCmd5</source>
        <translation>/usr/bin/dvipdfmx %1</translation>
    </message>
    <message>
        <source>openName1</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>openName2</source>
        <translation>Log</translation>
    </message>
    <message>
        <source>openName3</source>
        <translation>DVI</translation>
    </message>
    <message>
        <source>openName4</source>
        <translation>BibTeX Log</translation>
    </message>
    <message>
        <source>openName5</source>
        <translation>Index Log</translation>
    </message>
    <message>
        <source>openExt1</source>
        <translation>pdf</translation>
    </message>
    <message>
        <source>openExt2</source>
        <translation>log</translation>
    </message>
    <message>
        <source>openExt3</source>
        <translation>dvi</translation>
    </message>
    <message>
        <source>openExt4</source>
        <translation>blg</translation>
    </message>
    <message>
        <source>openExt5</source>
        <translation>ilg</translation>
    </message>
    <message>
        <source>outExt01</source>
        <translation>aux</translation>
    </message>
    <message>
        <source>outExt02</source>
        <translation>log</translation>
    </message>
    <message>
        <source>outExt03</source>
        <translation>toc</translation>
    </message>
    <message>
        <source>outExt04</source>
        <translation>lof</translation>
    </message>
    <message>
        <source>outExt05</source>
        <translation>lot</translation>
    </message>
    <message>
        <source>outExt06</source>
        <translation>out</translation>
    </message>
    <message>
        <source>outExt07</source>
        <translation>bbl</translation>
    </message>
    <message>
        <source>outExt08</source>
        <translation>blg</translation>
    </message>
    <message>
        <source>outExt09</source>
        <translation>idx</translation>
    </message>
    <message>
        <source>outExt10</source>
        <translation>ind</translation>
    </message>
    <message>
        <source>outExt11</source>
        <translation>ilg</translation>
    </message>
    <message>
        <source>outExt12</source>
        <translation>synctex.gz</translation>
    </message>
    <message>
        <source>pageStr1</source>
        <translation>%n page</translation>
    </message>
    <message>
        <source>pageStr2</source>
        <translation>​</translation>
    </message>
    <message>
        <source>pageStr3</source>
        <translation>​</translation>
    </message>
    <message>
        <source>pageStr4</source>
        <translation>%n page</translation>
    </message>
    <message>
        <source>pageStr5</source>
        <translation>​</translation>
    </message>
    <message>
        <source>encoding</source>
        <translation>106</translation>
    </message>
    <message>
        <source>PrefsValidation</source>
        <translation>The settings cannot be used</translation>
    </message>
    <message>
        <source>IntervalError</source>
        <translation>The check interval must be a whole number of seconds from 1 to 2147483.</translation>
    </message>
    <message>
        <source>EmptyStep</source>
        <translation>None (end of the procedure)</translation>
    </message>
    <message>
        <source>PrefsSaveErrorHeader</source>
        <translation>The settings cannot be saved</translation>
    </message>
    <message>
        <source>PrefsSaveErrorMessage</source>
        <translation>The new settings are in use until Quireon quits, but the file “%@” could not be written.</translation>
    </message>
    <message>
        <source>SettingsSaveErrorHeader</source>
        <translation>The settings cannot be saved</translation>
    </message>
    <message>
        <source>SettingsSaveErrorMessage</source>
        <translation>Quireon keeps working, but changes to its settings will be lost when it quits: the file “%@” could not be written.</translation>
    </message>
    <message>
        <source>SettingsDamagedHeader</source>
        <translation>Some settings could not be read</translation>
    </message>
    <message>
        <source>SettingsDamagedMessage</source>
        <translation>The settings file “%@” holds lines Quireon cannot read. They have been left out and every other setting kept; the file as it was is saved as “%@”.</translation>
    </message>
    <message>
        <source>SettingsDamagedUncopiedMessage</source>
        <translation>The settings file “%@” holds lines Quireon cannot read, and no copy of it could be made. Quireon works with its default settings and leaves the file as it is.</translation>
    </message>
    <message>
        <source>Page Title</source>
        <translation>Page report of %@</translation>
    </message>
    <message>
        <source>OpenTitle</source>
        <translation>Open a root file (.%@)</translation>
    </message>
    <message>
        <source>OpenErrorHeader</source>
        <translation>The file cannot be opened</translation>
    </message>
    <message>
        <source>OpenErrorMessage</source>
        <translation>“%@” is not a readable file of type .%@.</translation>
    </message>
    <message>
        <source>OpenLastErrorHeader</source>
        <translation>The last file cannot be opened</translation>
    </message>
    <message>
        <source>OpenLastErrorMessage</source>
        <translation>The file opened last, “%@”, is missing or cannot be read.</translation>
    </message>
    <message>
        <source>ChooseTemplate</source>
        <translation>Choose...</translation>
    </message>
    <message>
        <source>ChooseTemplateTitle</source>
        <translation>Choose a Template</translation>
    </message>
    <message>
        <source>ChooseTemplateMessage</source>
        <translation>Choose a template file of type .%@.</translation>
    </message>
    <message>
        <source>Choose</source>
        <translation>Choose</translation>
    </message>
    <message>
        <source>NewFromTemplateTitle</source>
        <translation>New Project from Template</translation>
    </message>
    <message>
        <source>NewFromTemplateMessage</source>
        <translation>Choose the folder and the name of the new root file.</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>NewName</source>
        <translation>File name:</translation>
    </message>
    <message>
        <source>CreateNewErrorHeader</source>
        <translation>The project cannot be created</translation>
    </message>
    <message>
        <source>BadTemplate_NoTemplate</source>
        <translation>Choose a template file.</translation>
    </message>
    <message>
        <source>BadTemplate_NoFolderName</source>
        <translation>Enter a name for the extra folder.</translation>
    </message>
    <message>
        <source>BadTemplate_NoOriginal</source>
        <translation>Choose the original of the symbolic link.</translation>
    </message>
    <message>
        <source>ReplaceHeader</source>
        <translation>“%@” already exists. Do you want to replace it?</translation>
    </message>
    <message>
        <source>ReplaceMessage</source>
        <translation>Replacing it overwrites what it holds now.</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>OverwriteErrorHeader</source>
        <translation>The existing item cannot be replaced</translation>
    </message>
    <message>
        <source>OverwriteErrorMessage</source>
        <translation>“%@” could not be removed.</translation>
    </message>
    <message>
        <source>CopyErrorHeader</source>
        <translation>The template cannot be copied</translation>
    </message>
    <message>
        <source>CopyErrorMessage</source>
        <translation>The template could not be copied to “%@”.</translation>
    </message>
    <message>
        <source>FolderErrorHeader</source>
        <translation>The folder cannot be created</translation>
    </message>
    <message>
        <source>FolderErrorMessage</source>
        <translation>The folder “%@” could not be created.</translation>
    </message>
    <message>
        <source>SymLinkErrorHeader</source>
        <translation>The symbolic link cannot be created</translation>
    </message>
    <message>
        <source>SymLinkFileMessage</source>
        <translation>The symbolic link “%@” could not be created.</translation>
    </message>
    <message>
        <source>ChooseOriginal</source>
        <translation>Choose...</translation>
    </message>
    <message>
        <source>ChooseOriginalTitle</source>
        <translation>Choose the Original</translation>
    </message>
    <message>
        <source>ChooseOriginalMessage</source>
        <translation>Choose the file or folder that the link points to.</translation>
    </message>
    <message>
        <source>CreateSymLinkTitle</source>
        <translation>Create Symbolic Link</translation>
    </message>
    <message>
        <source>CreateSymLinkMessage</source>
        <translation>Choose where the symbolic link goes and its name.</translation>
    </message>
    <message>
        <source>SymName</source>
        <translation>Link name:</translation>
    </message>
    <message>
        <source>SymLinkFolderMessage</source>
        <translation>“%@” is a folder and cannot be replaced by a link.</translation>
    </message>
    <message>
        <source>CliDescription</source>
        <translation>Runs TeX and friends on a root file. Without options it opens the files given in document windows.</translation>
    </message>
    <message>
        <source>CliFile</source>
        <translation>The root files (.tex) to open or to build.</translation>
    </message>
    <message>
        <source>CliBatch</source>
        <translation>Builds the files without a window, side by side, as auto mode does (the steps each document needs, or the stored procedure), and writes the logs to standard output, each with a summary line.</translation>
    </message>
    <message>
        <source>CliProcedure</source>
        <translation>With --batch: runs the given command numbers (1 to 5) instead, for example 1,2,1,1.</translation>
    </message>
    <message>
        <source>CliProcedureValue</source>
        <translation>numbers</translation>
    </message>
    <message>
        <source>CliNeedsBatch</source>
        <translation>quireon: --procedure, --jobs and --report work with --batch only.
</translation>
    </message>
    <message>
        <source>CliBadProcedure</source>
        <translation>quireon: “%@” is not a list of command numbers from 1 to 5.
</translation>
    </message>
    <message>
        <source>CliUnreadable</source>
        <translation>quireon: cannot read the file “%@”.
</translation>
    </message>
    <message>
        <source>CliWrongType</source>
        <translation>quireon: “%@” is not a .%@ file.
</translation>
    </message>
    <message>
        <source>CliOutputFailed</source>
        <translation>quireon: cannot write the log to standard output: %@
</translation>
    </message>
    <message>
        <source>CliExitStatus</source>
        <translation>
Exit status (with several files, the worst of them):
  0        every file was built without errors
  1        a log has errors, a tool failed, or a command could not be started
  2        a missing or unreadable file, a file that is not .tex, a file named twice,
           two files whose outputs would collide, or a wrong option; nothing was run
  3        the log could not be written to standard output (a full disk, say), or the
           JSON report could not be written
  141      standard output was closed before the end (a reader such as head quit)
  128+N    stopped by signal N: 129 SIGHUP, 130 SIGINT (Ctrl+C), 131 SIGQUIT, 143 SIGTERM;
           every running command and every process it started are stopped first
</translation>
    </message>
    <message>
        <source>BatchSummary</source>
        <translation>errors %@, warnings %@, notes %@, pages %@
</translation>
    </message>
    <message>
        <source>CliJobs</source>
        <translation>With --batch: builds at most this many files at a time (default: the number of processor cores).</translation>
    </message>
    <message>
        <source>CliJobsValue</source>
        <translation>number</translation>
    </message>
    <message>
        <source>CliReport</source>
        <translation>With --batch: also writes a report. "github": a GitHub Actions annotation per error and warning with a place in the sources, after each log; "json=FILE": one JSON document on every file built, written when all have ended. May be given twice.</translation>
    </message>
    <message>
        <source>CliReportValue</source>
        <translation>github|json=FILE</translation>
    </message>
    <message>
        <source>CliNoFile</source>
        <translation>quireon: --batch needs at least one file.
</translation>
    </message>
    <message>
        <source>CliSameRoot</source>
        <translation>quireon: “%@” and “%@” are the same file; name each file once.
</translation>
    </message>
    <message>
        <source>CliSameOutputs</source>
        <translation>quireon: “%@” and “%@” would both write %@.*; build them in separate calls.
</translation>
    </message>
    <message>
        <source>CliBadJobs</source>
        <translation>quireon: “%@” is not a number of jobs (1 or more).
</translation>
    </message>
    <message>
        <source>CliBadReport</source>
        <translation>quireon: “%@” is not a report; use github or json=FILE.
</translation>
    </message>
    <message>
        <source>CliReportPlace</source>
        <translation>quireon: cannot write the report to “%@”: its folder is missing or not writable.
</translation>
    </message>
    <message>
        <source>CliReportFailed</source>
        <translation>quireon: cannot write the report “%@”: %@
</translation>
    </message>
    <message>
        <source>BatchRootSummary</source>
        <translation>%@: errors %@, warnings %@, notes %@, pages %@
</translation>
    </message>
    <message>
        <source>BatchTotal</source>
        <translation>%@ files: %@ built, %@ failed; errors %@, warnings %@, notes %@
</translation>
    </message>
    <message>
        <source>ReasonInputsChanged</source>
        <translation>what it reads changed since its last run</translation>
    </message>
    <message>
        <source>ReasonInputsUnchanged</source>
        <translation>nothing it reads changed</translation>
    </message>
    <message>
        <source>AutoToolBlocked</source>
        <translation>%@ not run: %@; its last output is kept</translation>
    </message>
    <message>
        <source>AutoToolWrote</source>
        <translation>a tool wrote what it reads</translation>
    </message>
    <message>
        <source>AutoToolMissing</source>
        <translation>Quireon Error: %@ is needed but not installed: install the Debian package %@</translation>
    </message>
    <message>
        <source>AutoToolLacking</source>
        <translation>the document needs %@ (%@), which the procedure has no step for</translation>
    </message>
</context>
</TS>
