<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it" sourcelanguage="en">
<context>
    <name>AudioChecks</name>
    <message>
        <source>holds two separate programmes (dual channel); mixed both, choose Left or Right to keep one</source>
        <translation>contiene due programmi distinti (doppio canale); sono stati mescolati entrambi, scegli il canale sinistro o destro per tenerne uno solo</translation>
    </message>
    <message>
        <source>the two channels cancel each other out; the mix is near silence, convert it with Left or Right</source>
        <translation>i due canali si annullano a vicenda; mescolati danno quasi silenzio, convertilo con il canale sinistro o destro</translation>
    </message>
    <message>
        <source>1 sample clipped</source>
        <translation>1 campione saturato</translation>
    </message>
    <message numerus="yes">
        <source>%1 samples clipped</source>
        <translation>
            <numerusform>%1 campione saturato</numerusform>
            <numerusform>%1 campioni saturati</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>BatchInputs</name>
    <message>
        <source>standard input</source>
        <translation>dallo standard input</translation>
    </message>
    <message>
        <source>the list of paths %1 cannot be read (%2)</source>
        <translation>impossibile leggere l&apos;elenco di percorsi %1 (%2)</translation>
    </message>
    <message>
        <source>the list of paths %1 holds an empty path (entry %2)</source>
        <translation>l&apos;elenco di percorsi %1 contiene un percorso vuoto (voce %2)</translation>
    </message>
    <message>
        <source>the list of paths %1 holds an empty path (line %2)</source>
        <translation>l&apos;elenco di percorsi %1 contiene un percorso vuoto (riga %2)</translation>
    </message>
    <message>
        <source>it is the output folder or lies in it, where the outputs go</source>
        <translation>è la cartella di destinazione o si trova al suo interno, dove vanno i file convertiti</translation>
    </message>
</context>
<context>
    <name>BatchOptions</name>
    <message>
        <source>an empty path was given (is a variable in the script unset?)</source>
        <translation>è stato indicato un percorso vuoto (una variabile dello script non è impostata?)</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 non accetta valori</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>opzione sconosciuta %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 richiede un valore</translation>
    </message>
    <message>
        <source>unknown mode &quot;%1&quot;: choose mix, left or right</source>
        <translation>modalità sconosciuta «%1»: scegliere mix, left o right</translation>
    </message>
    <message>
        <source>--output needs a folder</source>
        <translation>--output richiede una cartella</translation>
    </message>
    <message>
        <source>--files-from needs a file, or - for standard input</source>
        <translation>--files-from richiede un file, o - per lo standard input</translation>
    </message>
    <message>
        <source>--jobs needs a whole number of at least 1, not &quot;%1&quot;</source>
        <translation>--jobs richiede un numero intero non minore di 1, non «%1»</translation>
    </message>
    <message>
        <source>%1 works only with --batch</source>
        <translation>%1 funziona solo con --batch</translation>
    </message>
    <message>
        <source>no file or folder to convert was given</source>
        <translation>non è stato indicato alcun file o cartella da convertire</translation>
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
        <translation>Uso:
  velunor [FILE...]
  velunor --batch [--mode mix|left|right] [--output CARTELLA] [--jobs N]
                  [--quality source|KBPS|vN] PERCORSO...
  velunor --batch [OPZIONE...] --files-from ELENCO [--null] [PERCORSO...]

Converte file MP3 stereo in file MP3 mono. Senza --batch apre la finestra con
i FILE nel suo elenco.

Con --batch converte senza finestra e non ha bisogno di uno schermo. Ogni
PERCORSO che è una cartella viene esaminato, sottocartelle comprese, in cerca
di file *.mp3; ogni altro PERCORSO viene convertito così com&apos;è. Ogni file
convertito prende il nome del suo file di origine con «.mp3».

  --mode MODO      come i due canali diventano uno: mix (entrambi mescolati),
                   left (sinistro) o right (destro); in mancanza, la modalità
                   scelta per ultima nella finestra, altrimenti mix
  --output CARTELLA  dove vanno i file mono; in mancanza, la cartella di
                   destinazione scelta per ultima nella finestra, altrimenti
                   la scrivania
  --jobs N         conversioni contemporanee; in mancanza, una per processore
                   (qui %1)
  --quality Q      come viene codificato l&apos;MP3 mono: source (il bit rate del
                   file di origine per canale, costante), un bit rate costante
                   in kbps come 128, oppure da v0 (il migliore) a v9 (il più
                   piccolo), un bit rate variabile; in mancanza, quello
                   predefinito del codificatore, come converte la finestra
  --files-from ELENCO  converte i percorsi che ELENCO nomina, uno per riga
                   (- li legge dallo standard input); ripetibile
  -0, --null       i percorsi in ELENCO sono separati da byte NUL, come li
                   scrive find -print0
  --keep-folders   ogni file trovato in una cartella PERCORSO va nella stessa
                   cartella sotto la cartella di destinazione, creata se serve
  --skip-existing  un file il cui file convertito c&apos;è già, fatto dal file così
                   com&apos;è ora, non viene convertito di nuovo (la sua riga dice
                   aggiornato)
  --keep-dates     ogni file convertito prende la data di modifica del suo file
                   di origine
  --trash-inputs   ogni file di origine va nel Cestino appena il suo file
                   convertito è al suo posto; con la cartella stessa del file
                   di origine come destinazione, lo converte sul posto
  -h, --help       mostra questo aiuto ed esce
  --version        mostra la versione ed esce

La cartella di destinazione e tutto ciò che contiene non vengono mai esaminati
in cerca di file di origine, a meno che un PERCORSO dato con --trash-inputs sia
la cartella di destinazione o si trovi al suo interno. Un nome che non è UTF-8
viene convertito come ogni altro e mostrato con \xHH per ogni byte che non è
testo.

Un file di origine già mono mantiene il suo audio, copiato senza modifiche, in
ogni modalità e a ogni qualità.

Le opzioni non cambiano mai ciò che la finestra ha memorizzato. In un terminale
una riga di stato mostra l&apos;avanzamento; altrimenti una riga dice come è finito
ogni file. Un file convertito con qualcosa da sapere (canali che si annullano
nella modalità mix, due programmi mescolati, campioni saturati) riceve una riga
«avviso: PERCORSO: ...» sullo standard error. Alla fine ogni file non convertito
viene elencato con il motivo.

Stato di uscita: 0 se ogni file è stato convertito (con o senza avvisi) o era
già aggiornato, 1 se un file non lo è stato (o non si è potuta esaminare una
cartella o scrivere l&apos;uscita), 2 per una riga di comando errata (e niente è
convertito). SIGINT, SIGTERM e SIGHUP interrompono la conversione (i file finiti
restano) e poi terminano il programma come terminano gli altri: una shell mostra
130, 143 o 129, e un ciclo della shell si ferma con Ctrl+C.
</translation>
    </message>
</context>
<context>
    <name>BatchProgram</name>
    <message>
        <source>Try &apos;velunor --help&apos; for more information.</source>
        <translation>Usare «velunor --help» per ulteriori informazioni.</translation>
    </message>
    <message>
        <source>no output folder is stored and none was given: give --output FOLDER</source>
        <translation>nessuna cartella di destinazione memorizzata né indicata: indicare --output CARTELLA</translation>
    </message>
    <message>
        <source>the output folder %1 is not a folder</source>
        <translation>la cartella di destinazione %1 non è una cartella</translation>
    </message>
    <message>
        <source>the output folder %1 does not exist</source>
        <translation>la cartella di destinazione %1 non esiste</translation>
    </message>
    <message>
        <source>the output folder %1 cannot be written</source>
        <translation>impossibile scrivere nella cartella di destinazione %1</translation>
    </message>
    <message>
        <source>velunor: write error: %1</source>
        <translation>velunor: errore di scrittura: %1</translation>
    </message>
    <message>
        <source>velunor: warning: %1</source>
        <translation>velunor: avviso: %1</translation>
    </message>
    <message>
        <source>no channel mode is stored: give --mode mix, left or right</source>
        <translation>nessuna modalità dei canali memorizzata: indicare --mode mix, left o right</translation>
    </message>
    <message>
        <source>velunor: the program&apos;s own path cannot be read: %1</source>
        <translation>velunor: impossibile leggere il percorso del programma stesso: %1</translation>
    </message>
    <message>
        <source>velunor: the window program %1 cannot be started: %2</source>
        <translation>velunor: impossibile avviare il programma con finestra %1: %2</translation>
    </message>
    <message>
        <source>no such file or folder: %1</source>
        <translation>file o cartella inesistente: %1</translation>
    </message>
    <message>
        <source>no such files or folders: %1</source>
        <translation>file o cartelle inesistenti: %1</translation>
    </message>
    <message>
        <source>Stopped before any file was converted.</source>
        <translation>Interrotto prima che un file venisse convertito.</translation>
    </message>
    <message numerus="yes">
        <source>Searching for MP3 files... %n found</source>
        <translation>
            <numerusform>Ricerca dei file MP3... %n trovato</numerusform>
            <numerusform>Ricerca dei file MP3... %n trovati</numerusform>
        </translation>
    </message>
    <message>
        <source>not searched: %1</source>
        <translation>non esaminata: %1</translation>
    </message>
    <message>
        <source>no MP3 files were found in %1</source>
        <translation>nessun file MP3 trovato in %1</translation>
    </message>
    <message>
        <source>no display is named (neither DISPLAY nor WAYLAND_DISPLAY is set)</source>
        <translation>non è indicato alcun display (né DISPLAY né WAYLAND_DISPLAY è impostata)</translation>
    </message>
    <message>
        <source>the display %1 does not answer (DISPLAY is set, but no X server runs there)</source>
        <translation>il display %1 non risponde (DISPLAY è impostata, ma lì non è in esecuzione alcun server X)</translation>
    </message>
    <message>
        <source>velunor: the window cannot open: %1.
To convert without the window: velunor --batch --output FOLDER FILE...</source>
        <translation>velunor: la finestra non può aprirsi: %1.
Per convertire senza la finestra: velunor --batch --output CARTELLA FILE...</translation>
    </message>
</context>
<context>
    <name>BatchRun</name>
    <message>
        <source>1 folder could not be searched:</source>
        <translation>Non è stato possibile esaminare 1 cartella:</translation>
    </message>
    <message numerus="yes">
        <source>%n folders could not be searched:</source>
        <translation>
            <numerusform>Non è stato possibile esaminare %n cartella:</numerusform>
            <numerusform>Non è stato possibile esaminare %n cartelle:</numerusform>
        </translation>
    </message>
    <message>
        <source>velunor: %1 failed: %2</source>
        <translation>velunor: errore durante %1: %2</translation>
    </message>
    <message>
        <source>up to date: %1 -&gt; %2</source>
        <translation>aggiornato: %1 -&gt; %2</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 (input moved to the Trash)</source>
        <translation>convertito: %1 -&gt; %2 (file di origine spostato nel Cestino)</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 (input kept: %3)</source>
        <translation>convertito: %1 -&gt; %2 (file di origine mantenuto: %3)</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2</source>
        <translation>convertito: %1 -&gt; %2</translation>
    </message>
    <message>
        <source>not converted: %1 - %2</source>
        <translation>non convertito: %1 - %2</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 - already mono: audio copied unchanged (input moved to the Trash)</source>
        <translation>convertito: %1 -&gt; %2 - già mono: audio copiato senza modifiche (file di origine spostato nel Cestino)</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 - already mono: audio copied unchanged (input kept: %3)</source>
        <translation>convertito: %1 -&gt; %2 - già mono: audio copiato senza modifiche (file di origine mantenuto: %3)</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 - already mono: audio copied unchanged</source>
        <translation>convertito: %1 -&gt; %2 - già mono: audio copiato senza modifiche</translation>
    </message>
    <message>
        <source>warning: %1: %2</source>
        <translation>avviso: %1: %2</translation>
    </message>
</context>
<context>
    <name>ConversionJob</name>
    <message>
        <source>the converter was not run: %1</source>
        <translation>il convertitore non è stato avviato: %1</translation>
    </message>
    <message>
        <source>the output could not be finished: the disk did not answer for %1 seconds</source>
        <translation>impossibile completare il file convertito: il disco non ha risposto per %1 secondi</translation>
    </message>
    <message>
        <source>the run was stopped while the output was being put in place as %1</source>
        <translation>la conversione è stata interrotta mentre il file convertito veniva messo al suo posto come %1</translation>
    </message>
</context>
<context>
    <name>ConverterFiles</name>
    <message>
        <source>Resource with identifier &apos;%1&apos; not found</source>
        <translation>Risorsa con identificatore «%1» non trovata</translation>
    </message>
    <message>
        <source>the staging folder %1 cannot be used (%2)</source>
        <translation>impossibile usare la cartella di appoggio %1 (%2)</translation>
    </message>
    <message>
        <source>another run holds the staging folder %1 locked</source>
        <translation>un&apos;altra conversione tiene bloccata la cartella di appoggio %1</translation>
    </message>
    <message>
        <source>the staging folder %1 cannot be locked (%2)</source>
        <translation>impossibile bloccare la cartella di appoggio %1 (%2)</translation>
    </message>
    <message>
        <source>%1 differs from this version&apos;s and another run still uses it</source>
        <translation>%1 differisce da quello di questa versione e un&apos;altra conversione lo usa ancora</translation>
    </message>
    <message>
        <source>the staging folder %1 could not be locked again (%2)</source>
        <translation>impossibile bloccare di nuovo la cartella di appoggio %1 (%2)</translation>
    </message>
    <message>
        <source>the staging folder %1 belongs to another user</source>
        <translation>la cartella di appoggio %1 appartiene a un altro utente</translation>
    </message>
    <message>
        <source>other users can write to the staging folder %1</source>
        <translation>altri utenti possono scrivere nella cartella di appoggio %1</translation>
    </message>
    <message>
        <source>%1 cannot be checked (%2)</source>
        <translation>impossibile controllare %1 (%2)</translation>
    </message>
    <message>
        <source>%1 is not a plain file</source>
        <translation>%1 non è un file normale</translation>
    </message>
    <message>
        <source>%1 belongs to another user</source>
        <translation>%1 appartiene a un altro utente</translation>
    </message>
    <message>
        <source>other users can change %1</source>
        <translation>altri utenti possono modificare %1</translation>
    </message>
</context>
<context>
    <name>FileOutcome</name>
    <message>
        <source>up to date</source>
        <translation>già aggiornato</translation>
    </message>
    <message>
        <source>the converter could not be started (%1)</source>
        <translation>impossibile avviare il convertitore (%1)</translation>
    </message>
    <message>
        <source>the converter failed (exit status %1)</source>
        <translation>il convertitore non è riuscito (stato di uscita %1)</translation>
    </message>
    <message>
        <source>ended by signal %1, %2</source>
        <translation>terminato dal segnale %1, %2</translation>
    </message>
    <message>
        <source>the converter wrote no output file</source>
        <translation>il convertitore non ha scritto alcun file</translation>
    </message>
    <message>
        <source>the output is shorter than the input (%1)</source>
        <translation>il file convertito è più corto dell&apos;originale (%1)</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>il disco è pieno</translation>
    </message>
    <message>
        <source>the output folder was removed during the run</source>
        <translation>la cartella di destinazione è stata rimossa durante la conversione</translation>
    </message>
    <message>
        <source>cannot write in the output folder: %1%2</source>
        <translation>impossibile scrivere nella cartella di destinazione: %1%2</translation>
    </message>
    <message>
        <source>stopped before it was finished</source>
        <translation>interrotto prima di essere completato</translation>
    </message>
    <message>
        <source>not started, the run was stopped</source>
        <translation>non avviato, la conversione è stata interrotta</translation>
    </message>
    <message>
        <source>removed from the list before its turn</source>
        <translation>rimosso dall&apos;elenco prima del suo turno</translation>
    </message>
    <message>
        <source>already mono: audio copied unchanged</source>
        <translation>già mono: audio copiato senza modifiche</translation>
    </message>
</context>
<context>
    <name>FilePlan</name>
    <message>
        <source>skipped, the output would replace the listed file %1</source>
        <translation>saltato, il file convertito sostituirebbe il file in elenco %1</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>il file non esiste</translation>
    </message>
    <message>
        <source>the output folder %1 does not exist</source>
        <translation>la cartella di destinazione %1 non esiste</translation>
    </message>
    <message>
        <source>skipped, the output would replace this very file</source>
        <translation>saltato, il file convertito sostituirebbe proprio questo file</translation>
    </message>
    <message>
        <source>no channel mode is selected</source>
        <translation>nessuna modalità dei canali selezionata</translation>
    </message>
    <message>
        <source>no free name for its output could be found</source>
        <translation>impossibile trovare un nome libero per il file convertito</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>il file è vuoto</translation>
    </message>
</context>
<context>
    <name>FileSystem</name>
    <message>
        <source>the file does not exist</source>
        <translation>il file non esiste</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>non è un file normale</translation>
    </message>
    <message>
        <source>it is a link to %1, which does not exist</source>
        <translation>è un collegamento a %1, che non esiste</translation>
    </message>
</context>
<context>
    <name>FinishOutput</name>
    <message>
        <source>the converter wrote no MP3 audio</source>
        <translation>il convertitore non ha scritto audio MP3</translation>
    </message>
    <message>
        <source>%1 of %2 seconds</source>
        <translation>%1 di %2 secondi</translation>
    </message>
    <message>
        <source>the output could not be written (%1)</source>
        <translation>impossibile scrivere il file convertito (%1)</translation>
    </message>
    <message>
        <source>; the unfinished file %1 could not be removed (%2)</source>
        <translation>; impossibile rimuovere il file incompleto %1 (%2)</translation>
    </message>
    <message>
        <source>the unfinished output was removed during the run</source>
        <translation>il file convertito incompleto è stato rimosso durante la conversione</translation>
    </message>
    <message>
        <source>the output could not be put in place (%1)</source>
        <translation>impossibile mettere al suo posto il file convertito (%1)</translation>
    </message>
    <message>
        <source>the output could not take its input&apos;s date (%1)</source>
        <translation>il file convertito non ha potuto prendere la data dell&apos;originale (%1)</translation>
    </message>
    <message>
        <source>no free name for its output could be found</source>
        <translation>impossibile trovare un nome libero per il file convertito</translation>
    </message>
    <message>
        <source>the file changed while it was converted, and was left as it is</source>
        <translation>il file è cambiato durante la conversione ed è stato lasciato com&apos;è</translation>
    </message>
    <message>
        <source>its output takes its name only once it is in the Trash, and no Trash could be had for it; it was left as it is</source>
        <translation>il file convertito prende il suo nome solo quando il file è nel Cestino, e per esso non era disponibile alcun Cestino; è stato lasciato com&apos;è</translation>
    </message>
    <message>
        <source>its output is no longer where it was put</source>
        <translation>il file convertito non è più dove era stato messo</translation>
    </message>
    <message>
        <source>it is no longer there</source>
        <translation>non c&apos;è più</translation>
    </message>
    <message>
        <source>it changed while it was converted</source>
        <translation>è cambiato durante la conversione</translation>
    </message>
    <message>
        <source>no Trash could be had for it</source>
        <translation>per esso non era disponibile alcun Cestino</translation>
    </message>
    <message>
        <source>the warning&apos;s remedy needs it</source>
        <translation>serve per il rimedio indicato dall’avviso</translation>
    </message>
</context>
<context>
    <name>ForeignTags</name>
    <message>
        <source>its tags cannot be read: the program&apos;s part that reads them cannot be loaded (%1)</source>
        <translation>impossibile leggere i suoi tag: non è possibile caricare la parte del programma che li legge (%1)</translation>
    </message>
</context>
<context>
    <name>ListRun</name>
    <message>
        <source>not started</source>
        <translation>non avviato</translation>
    </message>
</context>
<context>
    <name>MpegAudioCopy</name>
    <message>
        <source>the input could not be read (%1)</source>
        <translation>impossibile leggere il file di origine (%1)</translation>
    </message>
    <message>
        <source>the input holds no audio between its tags</source>
        <translation>il file di origine non contiene audio tra i suoi tag</translation>
    </message>
    <message>
        <source>the output could not be written</source>
        <translation>impossibile scrivere il file convertito</translation>
    </message>
    <message>
        <source>the copy was cancelled</source>
        <translation>la copia è stata annullata</translation>
    </message>
</context>
<context>
    <name>OutputQuality</name>
    <message>
        <source>--quality %1: MPEG audio has no bit rate of %1 kbps, only %2</source>
        <translation>--quality %1: l&apos;audio MPEG non ha un bit rate di %1 kbps, solo %2</translation>
    </message>
    <message>
        <source>--quality takes source, a bit rate in kbps such as 128, or v0 to v9, not &quot;%1&quot;</source>
        <translation>--quality accetta source, un bit rate in kbps come 128, o da v0 a v9, non «%1»</translation>
    </message>
    <message>
        <source>encoded at %1 kbps: the encoder has no %2 kbps at %3 kHz</source>
        <translation>codificato a %1 kbit/s: il codificatore non ha %2 kbit/s a %3 kHz</translation>
    </message>
</context>
<context>
    <name>OutputSubfolder</name>
    <message>
        <source>the output folder %1 could not be made (%2)</source>
        <translation>impossibile creare la cartella di destinazione %1 (%2)</translation>
    </message>
    <message>
        <source>the output folder %1 could not be made (a file of that name is in the way)</source>
        <translation>impossibile creare la cartella di destinazione %1 (c&apos;è già un file con quel nome)</translation>
    </message>
</context>
<context>
    <name>PlatformError</name>
    <message>
        <source>Unexpected failure</source>
        <translation>Errore imprevisto</translation>
    </message>
</context>
<context>
    <name>ReplayGainUpdate</name>
    <message>
        <source>the run was stopped</source>
        <translation>la conversione è stata interrotta</translation>
    </message>
    <message>
        <source>the output was replaced meanwhile</source>
        <translation>il file convertito è stato sostituito nel frattempo</translation>
    </message>
    <message>
        <source>the album&apos;s ReplayGain values could not be written (%1); it keeps the track&apos;s</source>
        <translation>impossibile scrivere i valori ReplayGain dell&apos;album (%1); il file mantiene quelli della traccia</translation>
    </message>
</context>
<context>
    <name>RunStep</name>
    <message>
        <source>loading the converter file %1</source>
        <translation>il caricamento del file %1 del convertitore</translation>
    </message>
    <message>
        <source>staging the converter file %1</source>
        <translation>la preparazione del file %1 del convertitore</translation>
    </message>
</context>
<context>
    <name>RunSummary</name>
    <message>
        <source>the output&apos;s file system refuses the name as it is</source>
        <translation>il file system della destinazione rifiuta il nome così com&apos;è</translation>
    </message>
    <message>
        <source>another file in the list has the same name</source>
        <translation>un altro file nell&apos;elenco ha lo stesso nome</translation>
    </message>
    <message>
        <source>a file of that name holds the output of another input</source>
        <translation>un file con quel nome contiene il risultato di un altro file di origine</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>... e %n altro.</numerusform>
            <numerusform>... e altri %n.</numerusform>
        </translation>
    </message>
    <message>
        <source>your file of that name was moved to the Trash</source>
        <translation>il tuo file con quel nome è stato spostato nel Cestino</translation>
    </message>
    <message>
        <source>%1 - your file %2 was moved to the Trash</source>
        <translation>%1 - il tuo file %2 è stato spostato nel Cestino</translation>
    </message>
    <message>
        <source>%1 - the file is in the Trash as %2</source>
        <translation>%1 - il file è nel Cestino come %2</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>Interrotto.</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Fatto.</translation>
    </message>
    <message>
        <source>The file was converted.</source>
        <translation>Il file è stato convertito.</translation>
    </message>
    <message numerus="yes">
        <source>All %n files were converted.</source>
        <translation>
            <numerusform>%n file è stato convertito.</numerusform>
            <numerusform>Tutti i %n file sono stati convertiti.</numerusform>
        </translation>
    </message>
    <message>
        <source>The file was up to date.</source>
        <translation>Il file era già aggiornato.</translation>
    </message>
    <message numerus="yes">
        <source>All %n files were up to date.</source>
        <translation>
            <numerusform>%n file era già aggiornato.</numerusform>
            <numerusform>Tutti i %n file erano già aggiornati.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>1 of %n files was converted, the others were up to date.</source>
        <translation>
            <numerusform>1 file su %n è stato convertito, gli altri erano già aggiornati.</numerusform>
            <numerusform>1 file su %n è stato convertito, gli altri erano già aggiornati.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n of %1 files were converted, the others were up to date.</source>
        <translation>
            <numerusform>%n file su %1 è stato convertito, gli altri erano già aggiornati.</numerusform>
            <numerusform>%n file su %1 sono stati convertiti, gli altri erano già aggiornati.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>1 of %n files was not converted.</source>
        <translation>
            <numerusform>1 file su %n non è stato convertito.</numerusform>
            <numerusform>1 file su %n non è stato convertito.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n of %1 files were not converted.</source>
        <translation>
            <numerusform>%n file su %1 non è stato convertito.</numerusform>
            <numerusform>%n file su %1 non sono stati convertiti.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file was up to date and not converted again.</source>
        <translation>1 file era già aggiornato e non è stato convertito di nuovo.</translation>
    </message>
    <message numerus="yes">
        <source>%n files were up to date and not converted again.</source>
        <translation>
            <numerusform>%n file era già aggiornato e non è stato convertito di nuovo.</numerusform>
            <numerusform>%n file erano già aggiornati e non sono stati convertiti di nuovo.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 input was moved to the Trash.</source>
        <translation>1 file di origine è stato spostato nel Cestino.</translation>
    </message>
    <message numerus="yes">
        <source>%n inputs were moved to the Trash.</source>
        <translation>
            <numerusform>%n file di origine è stato spostato nel Cestino.</numerusform>
            <numerusform>%n file di origine sono stati spostati nel Cestino.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file was not converted:</source>
        <translation>1 file non è stato convertito:</translation>
    </message>
    <message numerus="yes">
        <source>%n files were not converted:</source>
        <translation>
            <numerusform>%n file non è stato convertito:</numerusform>
            <numerusform>%n file non sono stati convertiti:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file was saved under another name or in place of a file of yours:</source>
        <translation>1 file è stato salvato con un altro nome o al posto di un tuo file:</translation>
    </message>
    <message numerus="yes">
        <source>%n files were saved under another name or in place of a file of yours:</source>
        <translation>
            <numerusform>%n file è stato salvato con un altro nome o al posto di un tuo file:</numerusform>
            <numerusform>%n file sono stati salvati con un altro nome o al posto di tuoi file:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 input stays where it was, not in the Trash:</source>
        <translation>1 file di origine resta dov&apos;era, non nel Cestino:</translation>
    </message>
    <message numerus="yes">
        <source>%n inputs stay where they were, not in the Trash:</source>
        <translation>
            <numerusform>%n file di origine resta dov&apos;era, non nel Cestino:</numerusform>
            <numerusform>%n file di origine restano dov&apos;erano, non nel Cestino:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 warning:</source>
        <translation>1 avviso:</translation>
    </message>
    <message numerus="yes">
        <source>%n warnings:</source>
        <translation>
            <numerusform>%n avviso:</numerusform>
            <numerusform>%n avvisi:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file was mono already:</source>
        <translation>1 file era già mono:</translation>
    </message>
    <message numerus="yes">
        <source>%n files were mono already:</source>
        <translation>
            <numerusform>%n file era già mono:</numerusform>
            <numerusform>%n file erano già mono:</numerusform>
        </translation>
    </message>
    <message>
        <source>your file of that name stays, as no Trash could take it</source>
        <translation>il tuo file con quel nome resta, perché nessun Cestino poteva accoglierlo</translation>
    </message>
    <message>
        <source>the name is too long for the output folder&apos;s file system</source>
        <translation>il nome è troppo lungo per il file system della cartella di destinazione</translation>
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
        <translation>Tipo non corrispondente</translation>
    </message>
</context>
<context>
    <name>StatusLine</name>
    <message numerus="yes">
        <source>%1%  %2/%n files</source>
        <translation>
            <numerusform>%1%  %2/%n file</numerusform>
            <numerusform>%1%  %2/%n file</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>mancano %1</translation>
    </message>
</context>
<context>
    <name>StoredDefaults</name>
    <message>
        <source>the stored value &quot;%1&quot; of %2 is not True or False and was passed over</source>
        <translation>il valore memorizzato «%1» di %2 non è True né False ed è stato ignorato</translation>
    </message>
</context>
<context>
    <name>TagCopy</name>
    <message>
        <source>the tags of the input could not be read (%1)</source>
        <translation>impossibile leggere i tag del file di origine (%1)</translation>
    </message>
    <message>
        <source>the converted file could not be read (%1)</source>
        <translation>impossibile leggere il file convertito (%1)</translation>
    </message>
    <message>
        <source>the tags could not be written (%1)</source>
        <translation>impossibile scrivere i tag (%1)</translation>
    </message>
    <message>
        <source>the tag copy was cancelled</source>
        <translation>la copia dei tag è stata annullata</translation>
    </message>
</context>
</TS>
