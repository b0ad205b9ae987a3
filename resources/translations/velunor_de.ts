<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AudioChecks</name>
    <message>
        <source>holds two separate programmes (dual channel); mixed both, choose Left or Right to keep one</source>
        <translation>enthält zwei getrennte Programme (Zweikanalton); beide wurden gemischt, wählen Sie den linken oder den rechten Kanal, um eines davon zu behalten</translation>
    </message>
    <message>
        <source>the two channels cancel each other out; the mix is near silence, convert it with Left or Right</source>
        <translation>die beiden Kanäle löschen sich gegenseitig aus; die Mischung ist fast stumm, wandeln Sie die Datei mit dem linken oder dem rechten Kanal um</translation>
    </message>
    <message>
        <source>1 sample clipped</source>
        <translation>1 Abtastwert übersteuert</translation>
    </message>
    <message numerus="yes">
        <source>%1 samples clipped</source>
        <translation>
            <numerusform>%1 Abtastwert übersteuert</numerusform>
            <numerusform>%1 Abtastwerte übersteuert</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>BatchInputs</name>
    <message>
        <source>standard input</source>
        <translation>von der Standardeingabe</translation>
    </message>
    <message>
        <source>the list of paths %1 cannot be read (%2)</source>
        <translation>die Pfadliste %1 kann nicht gelesen werden (%2)</translation>
    </message>
    <message>
        <source>the list of paths %1 holds an empty path (entry %2)</source>
        <translation>die Pfadliste %1 enthält einen leeren Pfad (Eintrag %2)</translation>
    </message>
    <message>
        <source>the list of paths %1 holds an empty path (line %2)</source>
        <translation>die Pfadliste %1 enthält einen leeren Pfad (Zeile %2)</translation>
    </message>
    <message>
        <source>it is the output folder or lies in it, where the outputs go</source>
        <translation>er ist der Ausgabeordner oder liegt darin, wohin die Ausgabedateien kommen</translation>
    </message>
</context>
<context>
    <name>BatchOptions</name>
    <message>
        <source>an empty path was given (is a variable in the script unset?)</source>
        <translation>ein leerer Pfad wurde angegeben (ist eine Variable im Skript nicht gesetzt?)</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 nimmt keinen Wert an</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 braucht einen Wert</translation>
    </message>
    <message>
        <source>unknown mode &quot;%1&quot;: choose mix, left or right</source>
        <translation>unbekannter Modus „%1“: wählen Sie mix, left oder right</translation>
    </message>
    <message>
        <source>--output needs a folder</source>
        <translation>--output braucht einen Ordner</translation>
    </message>
    <message>
        <source>--files-from needs a file, or - for standard input</source>
        <translation>--files-from braucht eine Datei oder - für die Standardeingabe</translation>
    </message>
    <message>
        <source>--jobs needs a whole number of at least 1, not &quot;%1&quot;</source>
        <translation>--jobs braucht eine ganze Zahl ab 1, nicht „%1“</translation>
    </message>
    <message>
        <source>%1 works only with --batch</source>
        <translation>%1 geht nur mit --batch</translation>
    </message>
    <message>
        <source>no file or folder to convert was given</source>
        <translation>keine umzuwandelnde Datei und kein Ordner angegeben</translation>
    </message>
    <message>
        <source>Usage: velunor [FILE...]
       velunor --batch [--mode mix|left|right] [--output FOLDER] [--jobs N]
                       [--quality source|KBPS|vN] PATH...
       velunor --batch [OPTION...] --files-from LIST [--null] [PATH...]

Turns stereo MP3 files into mono MP3 files. Without --batch it opens the window
with the FILEs in its list.

With --batch it converts without a window and needs no display. Each PATH that
is a folder is searched for *.mp3 files, its subfolders included; any other
PATH is converted as it is. Each output takes the input&apos;s name with &quot;.mp3&quot;.

  --mode MODE      how the two channels become one: mix (both), left or right;
                   by default the mode last chosen in the window, else mix
  --output FOLDER  where the mono files go; by default the output folder last
                   chosen in the window, else the desktop folder
  --jobs N         conversions at once; by default one per processor (%1 here)
  --quality Q      how the mono MP3 is encoded: source (the input&apos;s bit rate
                   per channel, constant), a constant bit rate in kbps such
                   as 128, or v0 (best) to v9 (smallest), a variable bit
                   rate; by default the encoder&apos;s own, as the window converts
  --files-from LIST  convert the paths LIST names, one a line (- reads them
                   from standard input); may be given more than once
  -0, --null       the paths in LIST are separated by NUL bytes, as
                   find -print0 writes them
  --keep-folders   each file found in a folder PATH goes to the same folder
                   below the output folder, made as needed
  --skip-existing  a file whose output is there, made from the file as it is
                   now, is not converted again (its line says up to date)
  --keep-dates     each output takes its input&apos;s modification time
  --trash-inputs   each input goes to the Trash once its output is in place;
                   with the input&apos;s own folder as the output folder, this
                   converts it in place
  -h, --help       show this help and exit
  --version        show the version and exit

The output folder and everything in it are never searched for inputs, unless
a PATH given with --trash-inputs is the output folder or lies in it. A name
that is not UTF-8 is converted like any other and shown with \xHH for each
byte that is not text.

An input that is mono already keeps its audio, copied unchanged, in every mode
and at any quality.

The options never change what the window has stored. On a terminal a status
line shows the progress; otherwise one line tells how each file ended. A file
converted with something to know (channels that cancel out in a mix, two
programmes mixed, samples clipped) gets a line &quot;warning: PATH: ...&quot; on
standard error. At the end every file that was not converted is listed with
its reason.

Exit status: 0 when every file was converted (with warnings or without) or up
to date, 1 when any file was not (or a folder could not be searched, or the
output could not be written), 2 for a wrong command line (and nothing
converted). SIGINT, SIGTERM and SIGHUP stop the run (finished files are
kept) and then end the program as they end others: a shell shows 130, 143
or 129, and a shell&apos;s loop stops at Ctrl+C.
</source>
        <translation>Aufruf: velunor [DATEI...]
        velunor --batch [--mode mix|left|right] [--output ORDNER] [--jobs N]
                        [--quality source|KBIT|vN] PFAD...
        velunor --batch [OPTION...] --files-from LISTE [--null] [PFAD...]

Wandelt Stereo-MP3-Dateien in Mono-MP3-Dateien um. Ohne --batch öffnet es das
Fenster mit den DATEIen in seiner Liste.

Mit --batch wandelt es ohne Fenster um und braucht keine grafische Anzeige.
Jeder PFAD, der ein Ordner ist, wird samt seinen Unterordnern nach *.mp3-Dateien
durchsucht; jeder andere PFAD wird so umgewandelt, wie er ist. Jede Ausgabedatei
erhält den Namen ihrer Eingabedatei mit „.mp3“.

  --mode MODUS     wie die zwei Kanäle zu einem werden: mix (beide mischen),
                   left (links) oder right (rechts); ohne Angabe der zuletzt
                   im Fenster gewählte Modus, sonst mix
  --output ORDNER  wohin die Mono-Dateien kommen; ohne Angabe der zuletzt im
                   Fenster gewählte Ausgabeordner, sonst der Schreibtisch
  --jobs N         Umwandlungen zugleich; ohne Angabe eine je Prozessor
                   (hier %1)
  --quality Q      wie die Mono-MP3-Datei kodiert wird: source (die Bitrate der
                   Eingabedatei je Kanal, konstant), eine konstante Bitrate in
                   kbit/s wie 128 oder v0 (beste) bis v9 (kleinste), eine
                   variable Bitrate; ohne Angabe die Voreinstellung des
                   Encoders, mit der auch das Fenster umwandelt
  --files-from LISTE  die Pfade umwandeln, die LISTE nennt, einen je Zeile
                   (- liest sie von der Standardeingabe); mehrfach möglich
  -0, --null       die Pfade in LISTE sind durch NUL-Bytes getrennt, wie
                   find -print0 sie schreibt
  --keep-folders   jede in einem Ordner-PFAD gefundene Datei kommt in denselben
                   Ordner unterhalb des Ausgabeordners, bei Bedarf angelegt
  --skip-existing  eine Datei, deren Ausgabedatei schon da ist, gemacht aus der
                   Datei, wie sie jetzt ist, wird nicht erneut umgewandelt
                   (ihre Zeile sagt „aktuell“)
  --keep-dates     jede Ausgabedatei erhält die Änderungszeit ihrer Eingabedatei
  --trash-inputs   jede Eingabedatei kommt in den Papierkorb, sobald ihre
                   Ausgabedatei an ihrem Platz ist; mit dem eigenen Ordner der
                   Eingabedatei als Ausgabeordner wandelt das sie an Ort und
                   Stelle um
  -h, --help       diese Hilfe anzeigen und beenden
  --version        die Version anzeigen und beenden

Der Ausgabeordner und alles darin werden nie nach Eingabedateien durchsucht,
außer ein mit --trash-inputs angegebener PFAD ist der Ausgabeordner oder liegt
darin. Ein Name, der kein UTF-8 ist, wird wie jeder andere umgewandelt und mit
\xHH für jedes Byte gezeigt, das kein Text ist.

Eine Eingabedatei, die bereits mono ist, behält ihr Audio unverändert kopiert,
in jedem Modus und bei jeder Qualität.

Die Optionen ändern nie, was das Fenster gespeichert hat. Auf einem Terminal
zeigt eine Statuszeile den Fortschritt; sonst sagt je eine Zeile, wie jede Datei
ausging. Eine Datei, bei deren Umwandlung es etwas zu wissen gibt (Kanäle, die
sich in einer Mischung auslöschen, zwei gemischte Programme, übersteuerte
Abtastwerte), erhält auf der Standardfehlerausgabe eine Zeile
„Warnung: PFAD: ...“. Am Ende wird jede Datei, die nicht umgewandelt wurde, mit
ihrem Grund aufgeführt.

Exit-Status: 0, wenn jede Datei umgewandelt wurde (mit oder ohne Warnungen) oder
bereits aktuell war, 1, wenn eine Datei nicht umgewandelt wurde (oder ein Ordner
nicht durchsucht oder die Ausgabe nicht geschrieben werden konnte), 2 bei einer
falschen Befehlszeile (dann wird nichts umgewandelt). SIGINT, SIGTERM und SIGHUP
halten den Durchlauf an (fertige Dateien bleiben erhalten) und beenden dann das
Programm, wie sie andere beenden: eine Shell zeigt 130, 143 oder 129, und eine
Schleife der Shell endet bei Strg+C.
</translation>
    </message>
</context>
<context>
    <name>BatchProgram</name>
    <message>
        <source>Try &apos;velunor --help&apos; for more information.</source>
        <translation>„velunor --help“ liefert weitere Informationen.</translation>
    </message>
    <message>
        <source>no output folder is stored and none was given: give --output FOLDER</source>
        <translation>kein Ausgabeordner gespeichert und keiner angegeben: geben Sie --output ORDNER an</translation>
    </message>
    <message>
        <source>the output folder %1 is not a folder</source>
        <translation>der Ausgabeordner %1 ist kein Ordner</translation>
    </message>
    <message>
        <source>the output folder %1 does not exist</source>
        <translation>der Ausgabeordner %1 existiert nicht</translation>
    </message>
    <message>
        <source>the output folder %1 cannot be written</source>
        <translation>in den Ausgabeordner %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>velunor: write error: %1</source>
        <translation>velunor: Schreibfehler: %1</translation>
    </message>
    <message>
        <source>velunor: warning: %1</source>
        <translation>velunor: Warnung: %1</translation>
    </message>
    <message>
        <source>no channel mode is stored: give --mode mix, left or right</source>
        <translation>kein Kanalmodus gespeichert: geben Sie --mode mix, left oder right an</translation>
    </message>
    <message>
        <source>velunor: the program&apos;s own path cannot be read: %1</source>
        <translation>velunor: der eigene Pfad des Programms kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>velunor: the window program %1 cannot be started: %2</source>
        <translation>velunor: das Fensterprogramm %1 kann nicht gestartet werden: %2</translation>
    </message>
    <message>
        <source>no such file or folder: %1</source>
        <translation>Datei oder Ordner nicht gefunden: %1</translation>
    </message>
    <message>
        <source>no such files or folders: %1</source>
        <translation>Dateien oder Ordner nicht gefunden: %1</translation>
    </message>
    <message>
        <source>Stopped before any file was converted.</source>
        <translation>Angehalten, bevor eine Datei umgewandelt wurde.</translation>
    </message>
    <message numerus="yes">
        <source>Searching for MP3 files... %n found</source>
        <translation>
            <numerusform>MP3-Dateien werden gesucht... %n gefunden</numerusform>
            <numerusform>MP3-Dateien werden gesucht... %n gefunden</numerusform>
        </translation>
    </message>
    <message>
        <source>not searched: %1</source>
        <translation>nicht durchsucht: %1</translation>
    </message>
    <message>
        <source>no MP3 files were found in %1</source>
        <translation>keine MP3-Dateien gefunden in %1</translation>
    </message>
    <message>
        <source>no display is named (neither DISPLAY nor WAYLAND_DISPLAY is set)</source>
        <translation>es ist keine Anzeige angegeben (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt)</translation>
    </message>
    <message>
        <source>the display %1 does not answer (DISPLAY is set, but no X server runs there)</source>
        <translation>die Anzeige %1 antwortet nicht (DISPLAY ist gesetzt, aber dort läuft kein X-Server)</translation>
    </message>
    <message>
        <source>velunor: the window cannot open: %1.
To convert without the window: velunor --batch --output FOLDER FILE...</source>
        <translation>velunor: Das Fenster kann nicht geöffnet werden: %1.
Um ohne Fenster umzuwandeln: velunor --batch --output ORDNER DATEI...</translation>
    </message>
</context>
<context>
    <name>BatchRun</name>
    <message>
        <source>1 folder could not be searched:</source>
        <translation>1 Ordner konnte nicht durchsucht werden:</translation>
    </message>
    <message numerus="yes">
        <source>%n folders could not be searched:</source>
        <translation>
            <numerusform>%n Ordner konnte nicht durchsucht werden:</numerusform>
            <numerusform>%n Ordner konnten nicht durchsucht werden:</numerusform>
        </translation>
    </message>
    <message>
        <source>velunor: %1 failed: %2</source>
        <translation>velunor: %1 ist fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2</source>
        <translation>umgewandelt: %1 -&gt; %2</translation>
    </message>
    <message>
        <source>not converted: %1 - %2</source>
        <translation>nicht umgewandelt: %1 - %2</translation>
    </message>
    <message>
        <source>up to date: %1 -&gt; %2</source>
        <translation>aktuell: %1 -&gt; %2</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 (input moved to the Trash)</source>
        <translation>umgewandelt: %1 -&gt; %2 (Eingabedatei in den Papierkorb verschoben)</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 (input kept: %3)</source>
        <translation>umgewandelt: %1 -&gt; %2 (Eingabedatei behalten: %3)</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 - already mono: audio copied unchanged (input moved to the Trash)</source>
        <translation>umgewandelt: %1 -&gt; %2 - bereits mono: Audio unverändert kopiert (Eingabedatei in den Papierkorb verschoben)</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 - already mono: audio copied unchanged (input kept: %3)</source>
        <translation>umgewandelt: %1 -&gt; %2 - bereits mono: Audio unverändert kopiert (Eingabedatei behalten: %3)</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 - already mono: audio copied unchanged</source>
        <translation>umgewandelt: %1 -&gt; %2 - bereits mono: Audio unverändert kopiert</translation>
    </message>
    <message>
        <source>warning: %1: %2</source>
        <translation>Warnung: %1: %2</translation>
    </message>
</context>
<context>
    <name>ConversionJob</name>
    <message>
        <source>the converter was not run: %1</source>
        <translation>der Konverter wurde nicht gestartet: %1</translation>
    </message>
    <message>
        <source>the output could not be finished: the disk did not answer for %1 seconds</source>
        <translation>die Ausgabedatei konnte nicht fertiggestellt werden: der Datenträger hat %1 Sekunden lang nicht geantwortet</translation>
    </message>
    <message>
        <source>the run was stopped while the output was being put in place as %1</source>
        <translation>der Durchlauf wurde angehalten, während die Ausgabedatei als %1 abgelegt wurde</translation>
    </message>
</context>
<context>
    <name>ConverterFiles</name>
    <message>
        <source>Resource with identifier &apos;%1&apos; not found</source>
        <translation>Ressource mit der Kennung „%1“ nicht gefunden</translation>
    </message>
    <message>
        <source>the staging folder %1 cannot be used (%2)</source>
        <translation>der Bereitstellungsordner %1 kann nicht verwendet werden (%2)</translation>
    </message>
    <message>
        <source>another run holds the staging folder %1 locked</source>
        <translation>ein anderer Durchlauf hält den Bereitstellungsordner %1 gesperrt</translation>
    </message>
    <message>
        <source>the staging folder %1 cannot be locked (%2)</source>
        <translation>der Bereitstellungsordner %1 kann nicht gesperrt werden (%2)</translation>
    </message>
    <message>
        <source>%1 differs from this version&apos;s and another run still uses it</source>
        <translation>%1 weicht von der Datei dieser Version ab, und ein anderer Durchlauf verwendet sie noch</translation>
    </message>
    <message>
        <source>the staging folder %1 could not be locked again (%2)</source>
        <translation>der Bereitstellungsordner %1 konnte nicht erneut gesperrt werden (%2)</translation>
    </message>
    <message>
        <source>the staging folder %1 belongs to another user</source>
        <translation>der Bereitstellungsordner %1 gehört einem anderen Benutzer</translation>
    </message>
    <message>
        <source>other users can write to the staging folder %1</source>
        <translation>andere Benutzer können in den Bereitstellungsordner %1 schreiben</translation>
    </message>
    <message>
        <source>%1 cannot be checked (%2)</source>
        <translation>%1 kann nicht geprüft werden (%2)</translation>
    </message>
    <message>
        <source>%1 is not a plain file</source>
        <translation>%1 ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>%1 belongs to another user</source>
        <translation>%1 gehört einem anderen Benutzer</translation>
    </message>
    <message>
        <source>other users can change %1</source>
        <translation>andere Benutzer können %1 ändern</translation>
    </message>
</context>
<context>
    <name>FileOutcome</name>
    <message>
        <source>the converter could not be started (%1)</source>
        <translation>der Konverter konnte nicht gestartet werden (%1)</translation>
    </message>
    <message>
        <source>the converter failed (exit status %1)</source>
        <translation>der Konverter ist gescheitert (Exit-Status %1)</translation>
    </message>
    <message>
        <source>ended by signal %1, %2</source>
        <translation>durch Signal %1 beendet, %2</translation>
    </message>
    <message>
        <source>the converter wrote no output file</source>
        <translation>der Konverter hat keine Ausgabedatei geschrieben</translation>
    </message>
    <message>
        <source>the output is shorter than the input (%1)</source>
        <translation>die Ausgabe ist kürzer als die Eingabe (%1)</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>der Datenträger ist voll</translation>
    </message>
    <message>
        <source>the output folder was removed during the run</source>
        <translation>der Ausgabeordner wurde während des Durchlaufs entfernt</translation>
    </message>
    <message>
        <source>cannot write in the output folder: %1%2</source>
        <translation>in den Ausgabeordner kann nicht geschrieben werden: %1%2</translation>
    </message>
    <message>
        <source>stopped before it was finished</source>
        <translation>angehalten, bevor sie fertig war</translation>
    </message>
    <message>
        <source>not started, the run was stopped</source>
        <translation>nicht begonnen, der Durchlauf wurde angehalten</translation>
    </message>
    <message>
        <source>removed from the list before its turn</source>
        <translation>aus der Liste entfernt, bevor sie an der Reihe war</translation>
    </message>
    <message>
        <source>up to date</source>
        <translation>bereits aktuell</translation>
    </message>
    <message>
        <source>already mono: audio copied unchanged</source>
        <translation>bereits mono: Audio unverändert kopiert</translation>
    </message>
</context>
<context>
    <name>FilePlan</name>
    <message>
        <source>skipped, the output would replace the listed file %1</source>
        <translation>übersprungen, die Ausgabedatei würde die aufgelistete Datei %1 ersetzen</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>die Datei existiert nicht</translation>
    </message>
    <message>
        <source>the output folder %1 does not exist</source>
        <translation>der Ausgabeordner %1 existiert nicht</translation>
    </message>
    <message>
        <source>skipped, the output would replace this very file</source>
        <translation>übersprungen, die Ausgabedatei würde genau diese Datei ersetzen</translation>
    </message>
    <message>
        <source>no channel mode is selected</source>
        <translation>kein Kanalmodus ausgewählt</translation>
    </message>
    <message>
        <source>no free name for its output could be found</source>
        <translation>für die Ausgabedatei wurde kein freier Name gefunden</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>die Datei ist leer</translation>
    </message>
</context>
<context>
    <name>FileSystem</name>
    <message>
        <source>the file does not exist</source>
        <translation>die Datei existiert nicht</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>it is a link to %1, which does not exist</source>
        <translation>es ist ein Verweis auf %1, der ins Leere zeigt</translation>
    </message>
</context>
<context>
    <name>FinishOutput</name>
    <message>
        <source>the converter wrote no MP3 audio</source>
        <translation>der Konverter hat kein MP3-Audio geschrieben</translation>
    </message>
    <message>
        <source>%1 of %2 seconds</source>
        <translation>%1 von %2 Sekunden</translation>
    </message>
    <message>
        <source>the output could not be written (%1)</source>
        <translation>die Ausgabedatei konnte nicht geschrieben werden (%1)</translation>
    </message>
    <message>
        <source>; the unfinished file %1 could not be removed (%2)</source>
        <translation>; die unfertige Datei %1 konnte nicht entfernt werden (%2)</translation>
    </message>
    <message>
        <source>the unfinished output was removed during the run</source>
        <translation>die unfertige Ausgabedatei wurde während des Durchlaufs entfernt</translation>
    </message>
    <message>
        <source>the output could not be put in place (%1)</source>
        <translation>die Ausgabedatei konnte nicht an ihren Platz gebracht werden (%1)</translation>
    </message>
    <message>
        <source>no free name for its output could be found</source>
        <translation>für die Ausgabedatei wurde kein freier Name gefunden</translation>
    </message>
    <message>
        <source>the output could not take its input&apos;s date (%1)</source>
        <translation>die Ausgabedatei konnte das Datum ihrer Eingabedatei nicht übernehmen (%1)</translation>
    </message>
    <message>
        <source>the file changed while it was converted, and was left as it is</source>
        <translation>die Datei hat sich während der Umwandlung geändert und wurde belassen, wie sie ist</translation>
    </message>
    <message>
        <source>its output takes its name only once it is in the Trash, and no Trash could be had for it; it was left as it is</source>
        <translation>ihre Ausgabedatei erhält ihren Namen erst, wenn sie im Papierkorb ist, und für sie war kein Papierkorb verfügbar; sie wurde belassen, wie sie ist</translation>
    </message>
    <message>
        <source>its output is no longer where it was put</source>
        <translation>ihre Ausgabedatei ist nicht mehr dort, wo sie abgelegt wurde</translation>
    </message>
    <message>
        <source>it is no longer there</source>
        <translation>sie ist nicht mehr da</translation>
    </message>
    <message>
        <source>it changed while it was converted</source>
        <translation>sie hat sich während der Umwandlung geändert</translation>
    </message>
    <message>
        <source>no Trash could be had for it</source>
        <translation>für sie war kein Papierkorb verfügbar</translation>
    </message>
    <message>
        <source>the warning&apos;s remedy needs it</source>
        <translation>sie wird für die Abhilfe gebraucht, die die Warnung nennt</translation>
    </message>
</context>
<context>
    <name>ForeignTags</name>
    <message>
        <source>its tags cannot be read: the program&apos;s part that reads them cannot be loaded (%1)</source>
        <translation>ihre Tags können nicht gelesen werden: der Programmteil, der sie liest, kann nicht geladen werden (%1)</translation>
    </message>
</context>
<context>
    <name>ListRun</name>
    <message>
        <source>not started</source>
        <translation>nicht begonnen</translation>
    </message>
</context>
<context>
    <name>MpegAudioCopy</name>
    <message>
        <source>the input could not be read (%1)</source>
        <translation>die Eingabedatei konnte nicht gelesen werden (%1)</translation>
    </message>
    <message>
        <source>the input holds no audio between its tags</source>
        <translation>die Eingabedatei enthält zwischen ihren Tags kein Audio</translation>
    </message>
    <message>
        <source>the output could not be written</source>
        <translation>die Ausgabedatei konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the copy was cancelled</source>
        <translation>das Kopieren wurde abgebrochen</translation>
    </message>
</context>
<context>
    <name>OutputQuality</name>
    <message>
        <source>--quality %1: MPEG audio has no bit rate of %1 kbps, only %2</source>
        <translation>--quality %1: MPEG-Audio hat keine Bitrate von %1 kbit/s, nur %2</translation>
    </message>
    <message>
        <source>--quality takes source, a bit rate in kbps such as 128, or v0 to v9, not &quot;%1&quot;</source>
        <translation>--quality nimmt source, eine Bitrate in kbit/s wie 128 oder v0 bis v9, nicht „%1“</translation>
    </message>
    <message>
        <source>encoded at %1 kbps: the encoder has no %2 kbps at %3 kHz</source>
        <translation>mit %1 kbit/s kodiert: der Encoder hat bei %3 kHz keine %2 kbit/s</translation>
    </message>
</context>
<context>
    <name>OutputSubfolder</name>
    <message>
        <source>the output folder %1 could not be made (%2)</source>
        <translation>der Ausgabeordner %1 konnte nicht angelegt werden (%2)</translation>
    </message>
    <message>
        <source>the output folder %1 could not be made (a file of that name is in the way)</source>
        <translation>der Ausgabeordner %1 konnte nicht angelegt werden (eine Datei dieses Namens ist im Weg)</translation>
    </message>
</context>
<context>
    <name>PlatformError</name>
    <message>
        <source>Unexpected failure</source>
        <translation>Unerwarteter Fehler</translation>
    </message>
</context>
<context>
    <name>ReplayGainUpdate</name>
    <message>
        <source>the run was stopped</source>
        <translation>der Durchlauf wurde angehalten</translation>
    </message>
    <message>
        <source>the output was replaced meanwhile</source>
        <translation>die Ausgabedatei wurde inzwischen ersetzt</translation>
    </message>
    <message>
        <source>the album&apos;s ReplayGain values could not be written (%1); it keeps the track&apos;s</source>
        <translation>die ReplayGain-Werte des Albums konnten nicht geschrieben werden (%1); die Datei behält die des Titels</translation>
    </message>
</context>
<context>
    <name>RunStep</name>
    <message>
        <source>loading the converter file %1</source>
        <translation>das Laden der Konverterdatei %1</translation>
    </message>
    <message>
        <source>staging the converter file %1</source>
        <translation>das Bereitstellen der Konverterdatei %1</translation>
    </message>
</context>
<context>
    <name>RunSummary</name>
    <message>
        <source>the output&apos;s file system refuses the name as it is</source>
        <translation>das Dateisystem der Ausgabe lehnt den Namen in dieser Form ab</translation>
    </message>
    <message>
        <source>another file in the list has the same name</source>
        <translation>eine andere Datei in der Liste hat denselben Namen</translation>
    </message>
    <message>
        <source>a file of that name holds the output of another input</source>
        <translation>eine Datei dieses Namens enthält die Ausgabe einer anderen Eingabedatei</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>... und %n weitere.</numerusform>
            <numerusform>... und %n weitere.</numerusform>
        </translation>
    </message>
    <message>
        <source>your file of that name was moved to the Trash</source>
        <translation>Ihre Datei dieses Namens wurde in den Papierkorb verschoben</translation>
    </message>
    <message>
        <source>%1 - your file %2 was moved to the Trash</source>
        <translation>%1 - Ihre Datei %2 wurde in den Papierkorb verschoben</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>Angehalten.</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Fertig.</translation>
    </message>
    <message>
        <source>The file was converted.</source>
        <translation>Die Datei wurde umgewandelt.</translation>
    </message>
    <message numerus="yes">
        <source>All %n files were converted.</source>
        <translation>
            <numerusform>Die %n Datei wurde umgewandelt.</numerusform>
            <numerusform>Alle %n Dateien wurden umgewandelt.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>1 of %n files was not converted.</source>
        <translation>
            <numerusform>1 von %n Datei wurde nicht umgewandelt.</numerusform>
            <numerusform>1 von %n Dateien wurde nicht umgewandelt.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n of %1 files were not converted.</source>
        <translation>
            <numerusform>%n von %1 Dateien wurde nicht umgewandelt.</numerusform>
            <numerusform>%n von %1 Dateien wurden nicht umgewandelt.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file was not converted:</source>
        <translation>1 Datei wurde nicht umgewandelt:</translation>
    </message>
    <message numerus="yes">
        <source>%n files were not converted:</source>
        <translation>
            <numerusform>%n Datei wurde nicht umgewandelt:</numerusform>
            <numerusform>%n Dateien wurden nicht umgewandelt:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file was saved under another name or in place of a file of yours:</source>
        <translation>1 Datei wurde unter einem anderen Namen oder anstelle einer Ihrer Dateien gespeichert:</translation>
    </message>
    <message numerus="yes">
        <source>%n files were saved under another name or in place of a file of yours:</source>
        <translation>
            <numerusform>%n Datei wurde unter einem anderen Namen oder anstelle einer Ihrer Dateien gespeichert:</numerusform>
            <numerusform>%n Dateien wurden unter einem anderen Namen oder anstelle Ihrer Dateien gespeichert:</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 - the file is in the Trash as %2</source>
        <translation>%1 - die Datei liegt im Papierkorb als %2</translation>
    </message>
    <message>
        <source>The file was up to date.</source>
        <translation>Die Datei war bereits aktuell.</translation>
    </message>
    <message numerus="yes">
        <source>All %n files were up to date.</source>
        <translation>
            <numerusform>Die %n Datei war bereits aktuell.</numerusform>
            <numerusform>Alle %n Dateien waren bereits aktuell.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>1 of %n files was converted, the others were up to date.</source>
        <translation>
            <numerusform>1 von %n Datei wurde umgewandelt, die anderen waren bereits aktuell.</numerusform>
            <numerusform>1 von %n Dateien wurde umgewandelt, die anderen waren bereits aktuell.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n of %1 files were converted, the others were up to date.</source>
        <translation>
            <numerusform>%n von %1 Dateien wurde umgewandelt, die anderen waren bereits aktuell.</numerusform>
            <numerusform>%n von %1 Dateien wurden umgewandelt, die anderen waren bereits aktuell.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file was up to date and not converted again.</source>
        <translation>1 Datei war bereits aktuell und wurde nicht erneut umgewandelt.</translation>
    </message>
    <message numerus="yes">
        <source>%n files were up to date and not converted again.</source>
        <translation>
            <numerusform>%n Datei war bereits aktuell und wurde nicht erneut umgewandelt.</numerusform>
            <numerusform>%n Dateien waren bereits aktuell und wurden nicht erneut umgewandelt.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 input was moved to the Trash.</source>
        <translation>1 Eingabedatei wurde in den Papierkorb verschoben.</translation>
    </message>
    <message numerus="yes">
        <source>%n inputs were moved to the Trash.</source>
        <translation>
            <numerusform>%n Eingabedatei wurde in den Papierkorb verschoben.</numerusform>
            <numerusform>%n Eingabedateien wurden in den Papierkorb verschoben.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 input stays where it was, not in the Trash:</source>
        <translation>1 Eingabedatei bleibt, wo sie war, nicht im Papierkorb:</translation>
    </message>
    <message numerus="yes">
        <source>%n inputs stay where they were, not in the Trash:</source>
        <translation>
            <numerusform>%n Eingabedatei bleibt, wo sie war, nicht im Papierkorb:</numerusform>
            <numerusform>%n Eingabedateien bleiben, wo sie waren, nicht im Papierkorb:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 warning:</source>
        <translation>1 Warnung:</translation>
    </message>
    <message numerus="yes">
        <source>%n warnings:</source>
        <translation>
            <numerusform>%n Warnung:</numerusform>
            <numerusform>%n Warnungen:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file was mono already:</source>
        <translation>1 Datei war bereits mono:</translation>
    </message>
    <message numerus="yes">
        <source>%n files were mono already:</source>
        <translation>
            <numerusform>%n Datei war bereits mono:</numerusform>
            <numerusform>%n Dateien waren bereits mono:</numerusform>
        </translation>
    </message>
    <message>
        <source>your file of that name stays, as no Trash could take it</source>
        <translation>Ihre Datei dieses Namens bleibt, da kein Papierkorb sie aufnehmen konnte</translation>
    </message>
    <message>
        <source>the name is too long for the output folder&apos;s file system</source>
        <translation>der Name ist zu lang für das Dateisystem des Ausgabeordners</translation>
    </message>
    <message>
        <source>; </source>
        <extracomment>Between two reasons why an output has another name.</extracomment>
        <translation>; </translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>Type mismatch</source>
        <translation>Typen unverträglich</translation>
    </message>
</context>
<context>
    <name>StatusLine</name>
    <message numerus="yes">
        <source>%1%  %2/%n files</source>
        <translation>
            <numerusform>%1 %  %2/%n Datei</numerusform>
            <numerusform>%1 %  %2/%n Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>noch %1</translation>
    </message>
</context>
<context>
    <name>StoredDefaults</name>
    <message>
        <source>the stored value &quot;%1&quot; of %2 is not True or False and was passed over</source>
        <translation>der gespeicherte Wert „%1“ von %2 ist weder True noch False und wurde übergangen</translation>
    </message>
</context>
<context>
    <name>TagCopy</name>
    <message>
        <source>the tags of the input could not be read (%1)</source>
        <translation>die Tags der Eingabedatei konnten nicht gelesen werden (%1)</translation>
    </message>
    <message>
        <source>the converted file could not be read (%1)</source>
        <translation>die umgewandelte Datei konnte nicht gelesen werden (%1)</translation>
    </message>
    <message>
        <source>the tags could not be written (%1)</source>
        <translation>die Tags konnten nicht geschrieben werden (%1)</translation>
    </message>
    <message>
        <source>the tag copy was cancelled</source>
        <translation>das Kopieren der Tags wurde abgebrochen</translation>
    </message>
</context>
</TS>
