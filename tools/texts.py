#!/usr/bin/env python3
"""Writes src/resources/quireon_en.ts, the English text table, from the list below.

The key is the source text; the English text is its translation. Placeholders "%@" take
the arguments in the order the caller gives them."""
from xml.sax.saxutils import escape
import os

TEXTS = [
    # Process runner and command execution
    ("LaunchError", "Quireon Error: cannot start the program \u201c%@\u201d. Check the command line in Preferences.\n"),
    ("ExecutingStatus", "Running: %@"),
    ("ErrorStatus", "Failed: %@"),
    ("DoneStatus", "Done: %@"),
    ("ToolExitStatus", "%@ ended with exit status %@."),
    ("ToolSignal", "%@ was ended by signal %@ (%@)."),
    ("LogLeftOut", "%@ characters of earlier output left out."),
    # Run sequencer
    ("Stop", "Stop"),
    ("Run", "Run"),
    ("RootMissingHeader", "The root file is missing"),
    ("RootMissingMessage", "Quireon cannot find the file \u201c%@\u201d. Auto mode has been switched off."),
    ("OK", "OK"),
    ("FileChangedLog", "%@ changed"),
    # Steps left out or added by the auto procedure
    ("StepSkipped", "%@ skipped: %@"),
    ("StepRuns", "%@ runs: %@"),
    ("StepAgain", "%@ again: %@"),
    ("NotSettledNote", "references did not settle after %@ passes"),
    ("ReasonFirstRun", "no earlier run since the document was opened"),
    ("ReasonMissing", "%@ is missing"),
    ("ReasonChanged", "%@ changed"),
    ("ReasonCitationsChanged", "citations changed"),
    ("ReasonCitationsUnchanged", "citations unchanged"),
    ("ReasonEntriesChanged", "index entries changed"),
    ("ReasonEntriesUnchanged", "index entries unchanged"),
    ("ReasonLabelsChanged", "labels changed"),
    ("ReasonPackageAsked", "a package asked for another pass"),
    ("ReasonSettled", "references settled"),
    # Output files
    ("OpenButtonErrorHeader", "The file cannot be opened"),
    ("OpenButtonErrorMessage", "\u201c%@\u201d does not exist or no application can open it."),
    ("OpenButtonErrorLog", "Quireon Error: the output file cannot be opened.\n"),
    ("ClearFileHeader", "Clear the auxiliary files?"),
    ("ClearFileMessage", "The files of the root file with these extensions will be deleted: %@"),
    ("Clear", "Clear"),
    ("Cancel", "Cancel"),
    # Buttons and menus
    ("cmdToolTip", "Runs %@"),
    ("openToolTip", "Opens %@"),
    ("Menu ClearLog", "Clear Log"),
    ("Menu ClearFiles", "Clear Auxiliary Files..."),
    ("Menu RunSequence", "Run Procedure"),
    ("Menu StopSequence", "Stop Procedure"),
    ("Menu SymLink", "Create Symbolic Link..."),
    ("Menu Process", "Process"),
    # Runs that speak up: notices, following log lines, what changed
    ("NoticeDone", "%@: done"),
    ("NoticeDonePages", "%@: done, %@"),
    ("NoticeProblems", "%@: %@, %@"),
    ("NoticeOnePage", "1 page"),
    ("NoticePages", "%@ pages"),
    ("NoticeOneError", "1 error"),
    ("NoticeErrors", "%@ errors"),
    ("NoticeOneWarning", "1 warning"),
    ("NoticeWarnings", "%@ warnings"),
    ("NoticeShowAction", "Show"),
    ("ChangesSinceLastRun", "%@ new, %@ resolved since the last run"),
    ("SourceMissingHeader", "The source file cannot be found"),
    ("SourceMissingMessage", "\u201c%@\u201d does not exist."),
    ("EditorErrorHeader", "The editor cannot be started"),
    ("EditorErrorMessage", "Quireon cannot start \u201c%@\u201d. Check the editor command in Preferences."),
    ("EditorQuoteMessage", "A quote in the editor command \u201c%@\u201d is never closed, or the command ends in a lone backslash. Quote it as in a shell, in Preferences."),
    # Default tool set: TeX Live as Debian installs it
    ("cmdName1", "pdfLaTeX"),
    ("cmdName2", "BibTeX"),
    ("cmdName3", "MakeIndex"),
    ("cmdName4", "LaTeX"),
    ("cmdName5", "dvipdfmx"),
    ("cmdExt1", "tex"),
    ("cmdExt2", "aux"),
    ("cmdExt3", "idx"),
    ("cmdExt4", "tex"),
    ("cmdExt5", "dvi"),
    ("cmdCmd1", "/usr/bin/pdflatex -synctex=1 -cnf-line=max_print_line=10000 %1"),
    ("cmdCmd2", "/usr/bin/bibtex %1"),
    ("cmdCmd3", "/usr/bin/makeindex %1"),
    ("cmdCmd4", "/usr/bin/latex -cnf-line=max_print_line=10000 %1"),
    ("cmdCmd5", "/usr/bin/dvipdfmx %1"),
    ("openName1", "PDF"),
    ("openName2", "Log"),
    ("openName3", "DVI"),
    ("openName4", "BibTeX Log"),
    ("openName5", "Index Log"),
    ("openExt1", "pdf"),
    ("openExt2", "log"),
    ("openExt3", "dvi"),
    ("openExt4", "blg"),
    ("openExt5", "ilg"),
    ("outExt01", "aux"),
    ("outExt02", "log"),
    ("outExt03", "toc"),
    ("outExt04", "lof"),
    ("outExt05", "lot"),
    ("outExt06", "out"),
    ("outExt07", "bbl"),
    ("outExt08", "blg"),
    ("outExt09", "idx"),
    ("outExt10", "ind"),
    ("outExt11", "ilg"),
    ("outExt12", "synctex.gz"),
    ("pageStr1", "%n page"),
    ("pageStr2", ""),
    ("pageStr3", ""),
    ("pageStr4", "%n page"),
    ("pageStr5", ""),
    ("encoding", "106"),
    # Preferences and log strings sheets
    ("PrefsValidation", "The settings cannot be used"),
    ("IntervalError", "The check interval must be a whole number of seconds from 1 to 2147483."),
    ("EmptyStep", "None (end of the procedure)"),
    ("PrefsSaveErrorHeader", "The settings cannot be saved"),
    ("PrefsSaveErrorMessage", "The new settings are in use until Quireon quits, but the file \u201c%@\u201d could not be written."),
    ("SettingsSaveErrorHeader", "The settings cannot be saved"),
    ("SettingsSaveErrorMessage", "Quireon keeps working, but changes to its settings will be lost when it quits: the file \u201c%@\u201d could not be written."),
    ("SettingsDamagedHeader", "Some settings could not be read"),
    ("SettingsDamagedMessage", "The settings file \u201c%@\u201d holds lines Quireon cannot read. They have been left out and every other setting kept; the file as it was is saved as \u201c%@\u201d."),
    ("SettingsDamagedUncopiedMessage", "The settings file \u201c%@\u201d holds lines Quireon cannot read, and no copy of it could be made. Quireon works with its default settings and leaves the file as it is."),
    ("Page Title", "Page report of %@"),
    # Application
    ("OpenTitle", "Open a root file (.%@)"),
    ("OpenErrorHeader", "The file cannot be opened"),
    ("OpenErrorMessage", "\u201c%@\u201d is not a readable file of type .%@."),
    ("OpenLastErrorHeader", "The last file cannot be opened"),
    ("OpenLastErrorMessage", "The file opened last, \u201c%@\u201d, is missing or cannot be read."),
    # New project from template
    ("ChooseTemplate", "Choose..."),
    ("ChooseTemplateTitle", "Choose a Template"),
    ("ChooseTemplateMessage", "Choose a template file of type .%@."),
    ("Choose", "Choose"),
    ("NewFromTemplateTitle", "New Project from Template"),
    ("NewFromTemplateMessage", "Choose the folder and the name of the new root file."),
    ("Create", "Create"),
    ("NewName", "File name:"),
    ("CreateNewErrorHeader", "The project cannot be created"),
    ("BadTemplate_NoTemplate", "Choose a template file."),
    ("BadTemplate_NoFolderName", "Enter a name for the extra folder."),
    ("BadTemplate_NoOriginal", "Choose the original of the symbolic link."),
    ("ReplaceHeader", "\u201c%@\u201d already exists. Do you want to replace it?"),
    ("ReplaceMessage", "Replacing it overwrites what it holds now."),
    ("Replace", "Replace"),
    ("OverwriteErrorHeader", "The existing item cannot be replaced"),
    ("OverwriteErrorMessage", "\u201c%@\u201d could not be removed."),
    ("CopyErrorHeader", "The template cannot be copied"),
    ("CopyErrorMessage", "The template could not be copied to \u201c%@\u201d."),
    ("FolderErrorHeader", "The folder cannot be created"),
    ("FolderErrorMessage", "The folder \u201c%@\u201d could not be created."),
    ("SymLinkErrorHeader", "The symbolic link cannot be created"),
    ("SymLinkFileMessage", "The symbolic link \u201c%@\u201d could not be created."),
    # Symbolic links
    ("ChooseOriginal", "Choose..."),
    ("ChooseOriginalTitle", "Choose the Original"),
    ("ChooseOriginalMessage", "Choose the file or folder that the link points to."),
    ("CreateSymLinkTitle", "Create Symbolic Link"),
    ("CreateSymLinkMessage", "Choose where the symbolic link goes and its name."),
    ("SymName", "Link name:"),
    ("SymLinkFolderMessage", "\u201c%@\u201d is a folder and cannot be replaced by a link."),
    # Command line and batch runs
    ("CliDescription", "Runs TeX and friends on a root file. Without options it opens the files given in document windows."),
    ("CliFile", "The root file (.tex) to open or to run."),
    ("CliBatch", "Runs the stored auto procedure on the file without a window, writes the log to standard output and ends with a summary line."),
    ("CliProcedure", "With --batch: runs the given command numbers (1 to 5) instead, for example 1,2,1,1."),
    ("CliProcedureValue", "numbers"),
    ("CliNeedsBatch", "quireon: --procedure works with --batch only.\n"),
    ("CliOneFile", "quireon: --batch takes exactly one file.\n"),
    ("CliBadProcedure", "quireon: \u201c%@\u201d is not a list of command numbers from 1 to 5.\n"),
    ("CliUnreadable", "quireon: cannot read the file \u201c%@\u201d.\n"),
    ("CliWrongType", "quireon: \u201c%@\u201d is not a .%@ file.\n"),
    ("CliOutputFailed", "quireon: cannot write the log to standard output: %@\n"),
    ("CliExitStatus", "\nExit status:\n"
     "  0        the batch run ended without errors\n"
     "  1        the log has errors, or a command could not be started\n"
     "  2        a missing or unreadable file, a file that is not .tex, or a wrong option\n"
     "  3        the log could not be written to standard output (a full disk, say)\n"
     "  141      standard output was closed before the end (a reader such as head quit)\n"
     "  128+N    stopped by signal N: 129 SIGHUP, 130 SIGINT (Ctrl+C), 131 SIGQUIT, 143 SIGTERM;\n"
     "           the running command and every process it started are stopped first\n"),
    ("BatchSummary", "errors %@, warnings %@, notes %@, pages %@\n"),
]

def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, "..", "src", "resources", "quireon_en.ts")
    lines = ['<?xml version="1.0" encoding="utf-8"?>', '<!DOCTYPE TS>',
             '<TS version="2.1" language="en_US" sourcelanguage="en">', '<context>',
             '    <name>Quireon</name>']
    seen = set()
    for key, text in TEXTS:
        assert key not in seen, key
        seen.add(key)
        # Compiled tables drop empty texts, so an intentionally empty one is written as a
        # lone zero-width space, which the lookup turns back into "".
        if text == "":
            text = "\u200b"
        lines += ['    <message>', f'        <source>{escape(key)}</source>',
                  f'        <translation>{escape(text)}</translation>', '    </message>']
    lines += ['</context>', '</TS>', '']
    with open(out, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))

if __name__ == "__main__":
    main()
