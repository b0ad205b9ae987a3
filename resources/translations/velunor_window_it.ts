<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it" sourcelanguage="en">
<context>
    <name>ErrorReport</name>
    <message>
        <source>%1<byte value="xd"/>
in %2 at line %3<byte value="xd"/><byte value="xd"/>Please email screenshot of this message to %4</source>
        <translation>%1<byte value="xd"/>
in %2 alla riga %3<byte value="xd"/><byte value="xd"/>Invia per e-mail una schermata di questo messaggio a %4</translation>
    </message>
    <message>
        <source>Application Error</source>
        <translation>Errore dell&apos;applicazione</translation>
    </message>
</context>
<context>
    <name>FileListView</name>
    <message>
        <source>Index out of bounds</source>
        <translation>Indice fuori dai limiti</translation>
    </message>
</context>
<context>
    <name>QtPlatform</name>
    <message>
        <source>The file name buffer is too small.</source>
        <translation>Il buffer dei nomi di file è troppo piccolo.</translation>
    </message>
</context>
<context>
    <name>velunor::conversion::ConversionRun</name>
    <message>
        <source>Progress Bar</source>
        <translation>Barra di avanzamento</translation>
    </message>
    <message>
        <source>%1% · %2 left</source>
        <translation>%1% · mancano %2</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
    <message>
        <source>Processing: %1</source>
        <translation>Elaborazione: %1</translation>
    </message>
    <message>
        <source>Please wait.. %1</source>
        <translation>Attendere.. %1</translation>
    </message>
</context>
<context>
    <name>velunor::app::Form1</name>
    <message>
        <source>What is Mono and Stereo?</source>
        <translation>Che cosa sono mono e stereo?</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aiuto</translation>
    </message>
    <message>
        <source>Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to reveal full names.</source>
        <translation>Trascina qui i file. Fai doppio clic su un elemento per rimuoverlo. Sposta la linea | verso destra, fuori dalla finestra, per vedere i nomi completi.</translation>
    </message>
    <message>
        <source>MP3 files to convert</source>
        <translation>File MP3 da convertire</translation>
    </message>
    <message>
        <source>The arrow keys select a file and Delete removes it from the list.</source>
        <translation>I tasti freccia selezionano un file e Canc lo rimuove dall&apos;elenco.</translation>
    </message>
    <message>
        <source>Add MP3 File(s)</source>
        <translation>Aggiungi file MP3</translation>
    </message>
    <message>
        <source>Add All MP3 File(s) In Folder</source>
        <translation>Aggiungi tutti gli MP3 di una cartella</translation>
    </message>
    <message>
        <source>Clear List</source>
        <translation>Svuota l&apos;elenco</translation>
    </message>
    <message>
        <source>Load Sample/Example Files</source>
        <translation>Carica i file di esempio</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opzioni</translation>
    </message>
    <message>
        <source>Mix left and right channels into one channel</source>
        <translation>Mescola i canali sinistro e destro in un solo canale</translation>
    </message>
    <message>
        <source>Keep left channel audio only and discard right channel audio</source>
        <translation>Mantieni solo il canale sinistro e scarta il destro</translation>
    </message>
    <message>
        <source>Keep right channel audio only and discard left channel audio</source>
        <translation>Mantieni solo il canale destro e scarta il sinistro</translation>
    </message>
    <message>
        <source>Save Results To This Folder</source>
        <translation>Salva i risultati in questa cartella</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Cartella di destinazione</translation>
    </message>
    <message>
        <source>The converted files are saved in this folder.</source>
        <translation>I file convertiti vengono salvati in questa cartella.</translation>
    </message>
    <message>
        <source>Browse for the output folder</source>
        <translation>Scegli la cartella di destinazione</translation>
    </message>
    <message>
        <source>Start Converting</source>
        <translation>Avvia la conversione</translation>
    </message>
    <message>
        <source>Progress Bar</source>
        <translation>Barra di avanzamento</translation>
    </message>
    <message>
        <source>MP3 File(s)</source>
        <translation>File MP3</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Chiamata di routine o argomento non validi</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Immagine non valida</translation>
    </message>
    <message>
        <source>No files added.</source>
        <translation>Nessun file aggiunto.</translation>
    </message>
    <message>
        <source>Folder does not exist. Please select another folder.</source>
        <translation>La cartella non esiste. Scegli un&apos;altra cartella.</translation>
    </message>
    <message>
        <source>Stop converting now? Files already converted are kept.</source>
        <translation>Interrompere ora la conversione? I file già convertiti vengono mantenuti.</translation>
    </message>
    <message>
        <source>Mono describes a system where all the audio signals are mixed together and routed through a single audio channel.</source>
        <translation>Mono indica un sistema in cui tutti i segnali audio vengono mescolati e instradati attraverso un unico canale audio.</translation>
    </message>
    <message>
        <source>Stereo sound systems have two independent audio signal channels.</source>
        <translation>I sistemi audio stereo hanno due canali di segnale audio indipendenti.</translation>
    </message>
    <message>
        <source>If you have a file that does not convert correctly, try splitting it into multiple parts and try with this software again. If this works or if you have any questions, please email %1.</source>
        <translation>Se un file non si converte correttamente, prova a dividerlo in più parti e riprova con questo programma. Se così funziona o se hai domande, scrivi a %1.</translation>
    </message>
    <message>
        <source>Please select folder:</source>
        <translation>Scegli una cartella:</translation>
    </message>
    <message>
        <source>Add File(s) - Hold Ctrl to select multiple files</source>
        <translation>Aggiungi file - Tieni premuto Ctrl per selezionarne più di uno</translation>
    </message>
    <message>
        <source>MP3 File</source>
        <translation>File MP3</translation>
    </message>
    <message>
        <source>You&apos;ve selected too many files to add.<byte value="xd"/><byte value="xd"/>Please try adding via the &quot;Add All&quot; button.</source>
        <translation>Hai selezionato troppi file da aggiungere.<byte value="xd"/><byte value="xd"/>Prova ad aggiungerli con il pulsante «Aggiungi tutti gli MP3 di una cartella».</translation>
    </message>
    <message>
        <source>Enter file extension to load:<byte value="xd"/><byte value="xd"/>(* for all files, txt for all txt files, doc for all doc files, etc.)</source>
        <translation>Inserisci l&apos;estensione dei file da caricare:<byte value="xd"/><byte value="xd"/>(* per tutti i file, txt per tutti i file txt, doc per tutti i file doc, ecc.)</translation>
    </message>
    <message>
        <source>Would you like this software to open the folder where these sample files are stored (so that you can view them before working with them)?</source>
        <translation>Vuoi che questo programma apra la cartella in cui si trovano questi file di esempio (così puoi vederli prima di lavorarci)?</translation>
    </message>
</context>
</TS>
