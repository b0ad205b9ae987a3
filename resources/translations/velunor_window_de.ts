<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>ErrorReport</name>
    <message>
        <source>%1<byte value="xd"/>
in %2 at line %3<byte value="xd"/><byte value="xd"/>Please email screenshot of this message to %4</source>
        <translation>%1<byte value="xd"/>
in %2 in Zeile %3<byte value="xd"/><byte value="xd"/>Bitte senden Sie ein Bildschirmfoto dieser Meldung per E-Mail an %4</translation>
    </message>
    <message>
        <source>Application Error</source>
        <translation>Anwendungsfehler</translation>
    </message>
</context>
<context>
    <name>FileListView</name>
    <message>
        <source>Index out of bounds</source>
        <translation>Index außerhalb des gültigen Bereichs</translation>
    </message>
</context>
<context>
    <name>QtPlatform</name>
    <message>
        <source>The file name buffer is too small.</source>
        <translation>Der Puffer für die Dateinamen ist zu klein.</translation>
    </message>
</context>
<context>
    <name>velunor::conversion::ConversionRun</name>
    <message>
        <source>Progress Bar</source>
        <translation>Fortschrittsanzeige</translation>
    </message>
    <message>
        <source>%1% · %2 left</source>
        <translation>%1 % · noch %2</translation>
    </message>
    <message>
        <source>Processing: %1</source>
        <translation>In Arbeit: %1</translation>
    </message>
    <message>
        <source>Please wait.. %1</source>
        <translation>Bitte warten.. %1</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
</context>
<context>
    <name>velunor::app::Form1</name>
    <message>
        <source>What is Mono and Stereo?</source>
        <translation>Was ist Mono und Stereo?</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to reveal full names.</source>
        <translation>Dateien hierher ziehen und ablegen. Ein Doppelklick auf einen Eintrag entfernt ihn. Die Linie | nach rechts aus dem Fenster ziehen, um die vollständigen Namen zu sehen.</translation>
    </message>
    <message>
        <source>MP3 files to convert</source>
        <translation>Umzuwandelnde MP3-Dateien</translation>
    </message>
    <message>
        <source>The arrow keys select a file and Delete removes it from the list.</source>
        <translation>Die Pfeiltasten wählen eine Datei aus, Entf entfernt sie aus der Liste.</translation>
    </message>
    <message>
        <source>Add MP3 File(s)</source>
        <translation>MP3-Datei(en) hinzufügen</translation>
    </message>
    <message>
        <source>Add All MP3 File(s) In Folder</source>
        <translation>Alle MP3-Dateien im Ordner hinzufügen</translation>
    </message>
    <message>
        <source>Clear List</source>
        <translation>Liste leeren</translation>
    </message>
    <message>
        <source>Load Sample/Example Files</source>
        <translation>Beispieldateien laden</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Mix left and right channels into one channel</source>
        <translation>Linken und rechten Kanal zu einem Kanal mischen</translation>
    </message>
    <message>
        <source>Keep left channel audio only and discard right channel audio</source>
        <translation>Nur den linken Kanal behalten und den rechten verwerfen</translation>
    </message>
    <message>
        <source>Keep right channel audio only and discard left channel audio</source>
        <translation>Nur den rechten Kanal behalten und den linken verwerfen</translation>
    </message>
    <message>
        <source>Save Results To This Folder</source>
        <translation>Ergebnisse in diesem Ordner speichern</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Ausgabeordner</translation>
    </message>
    <message>
        <source>The converted files are saved in this folder.</source>
        <translation>Die umgewandelten Dateien werden in diesem Ordner gespeichert.</translation>
    </message>
    <message>
        <source>Browse for the output folder</source>
        <translation>Ausgabeordner auswählen</translation>
    </message>
    <message>
        <source>Start Converting</source>
        <translation>Umwandlung starten</translation>
    </message>
    <message>
        <source>Progress Bar</source>
        <translation>Fortschrittsanzeige</translation>
    </message>
    <message>
        <source>MP3 File(s)</source>
        <translation>MP3-Datei(en)</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Unzulässiger Prozeduraufruf oder unzulässiges Argument</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Ungültiges Bild</translation>
    </message>
    <message>
        <source>No files added.</source>
        <translation>Keine Dateien hinzugefügt.</translation>
    </message>
    <message>
        <source>Folder does not exist. Please select another folder.</source>
        <translation>Der Ordner existiert nicht. Bitte wählen Sie einen anderen Ordner.</translation>
    </message>
    <message>
        <source>Stop converting now? Files already converted are kept.</source>
        <translation>Umwandlung jetzt anhalten? Bereits umgewandelte Dateien bleiben erhalten.</translation>
    </message>
    <message>
        <source>Mono describes a system where all the audio signals are mixed together and routed through a single audio channel.</source>
        <translation>Mono bezeichnet ein System, in dem alle Audiosignale zusammengemischt und über einen einzigen Audiokanal geleitet werden.</translation>
    </message>
    <message>
        <source>Stereo sound systems have two independent audio signal channels.</source>
        <translation>Stereo-Tonsysteme haben zwei voneinander unabhängige Audiokanäle.</translation>
    </message>
    <message>
        <source>If you have a file that does not convert correctly, try splitting it into multiple parts and try with this software again. If this works or if you have any questions, please email %1.</source>
        <translation>Wenn sich eine Datei nicht richtig umwandeln lässt, teilen Sie sie in mehrere Teile und versuchen Sie es erneut mit dieser Software. Wenn das hilft oder Sie Fragen haben, schreiben Sie bitte eine E-Mail an %1.</translation>
    </message>
    <message>
        <source>Please select folder:</source>
        <translation>Bitte wählen Sie einen Ordner:</translation>
    </message>
    <message>
        <source>Add File(s) - Hold Ctrl to select multiple files</source>
        <translation>Datei(en) hinzufügen – Strg gedrückt halten, um mehrere Dateien auszuwählen</translation>
    </message>
    <message>
        <source>MP3 File</source>
        <translation>MP3-Datei</translation>
    </message>
    <message>
        <source>You&apos;ve selected too many files to add.<byte value="xd"/><byte value="xd"/>Please try adding via the &quot;Add All&quot; button.</source>
        <translation>Sie haben zu viele Dateien zum Hinzufügen ausgewählt.<byte value="xd"/><byte value="xd"/>Bitte versuchen Sie es über die Schaltfläche „Alle MP3-Dateien im Ordner hinzufügen“.</translation>
    </message>
    <message>
        <source>Enter file extension to load:<byte value="xd"/><byte value="xd"/>(* for all files, txt for all txt files, doc for all doc files, etc.)</source>
        <translation>Dateiendung der zu ladenden Dateien eingeben:<byte value="xd"/><byte value="xd"/>(* für alle Dateien, txt für alle txt-Dateien, doc für alle doc-Dateien usw.)</translation>
    </message>
    <message>
        <source>Would you like this software to open the folder where these sample files are stored (so that you can view them before working with them)?</source>
        <translation>Soll diese Software den Ordner öffnen, in dem die Beispieldateien liegen (damit Sie sie ansehen können, bevor Sie mit ihnen arbeiten)?</translation>
    </message>
</context>
</TS>
