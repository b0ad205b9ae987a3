<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>AudioChecks</name>
    <message>
        <source>holds two separate programmes (dual channel); mixed both, choose Left or Right to keep one</source>
        <translation>contient deux programmes distincts (double canal)&#xa0;; les deux ont été mélangés, choisissez le canal gauche ou le canal droit pour n’en garder qu’un</translation>
    </message>
    <message>
        <source>the two channels cancel each other out; the mix is near silence, convert it with Left or Right</source>
        <translation>les deux canaux s’annulent l’un l’autre&#xa0;; le mélange est presque silencieux, convertissez le fichier avec le canal gauche ou le canal droit</translation>
    </message>
    <message>
        <source>1 sample clipped</source>
        <translation>1 échantillon écrêté</translation>
    </message>
    <message numerus="yes">
        <source>%1 samples clipped</source>
        <translation>
            <numerusform>%1 échantillon écrêté</numerusform>
            <numerusform>%1 échantillons écrêtés</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>BatchInputs</name>
    <message>
        <source>standard input</source>
        <translation>de l’entrée standard</translation>
    </message>
    <message>
        <source>the list of paths %1 cannot be read (%2)</source>
        <translation>la liste de chemins %1 ne peut pas être lue (%2)</translation>
    </message>
    <message>
        <source>the list of paths %1 holds an empty path (entry %2)</source>
        <translation>la liste de chemins %1 contient un chemin vide (entrée %2)</translation>
    </message>
    <message>
        <source>the list of paths %1 holds an empty path (line %2)</source>
        <translation>la liste de chemins %1 contient un chemin vide (ligne %2)</translation>
    </message>
    <message>
        <source>it is the output folder or lies in it, where the outputs go</source>
        <translation>c’est le dossier de sortie ou il s’y trouve, là où vont les fichiers de sortie</translation>
    </message>
</context>
<context>
    <name>BatchOptions</name>
    <message>
        <source>an empty path was given (is a variable in the script unset?)</source>
        <translation>un chemin vide a été donné (une variable du script n’est-elle pas définie&#xa0;?)</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 ne prend pas de valeur</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>option inconnue %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 demande une valeur</translation>
    </message>
    <message>
        <source>unknown mode &quot;%1&quot;: choose mix, left or right</source>
        <translation>mode inconnu «&#xa0;%1&#xa0;»&#xa0;: choisissez mix, left ou right</translation>
    </message>
    <message>
        <source>--output needs a folder</source>
        <translation>--output demande un dossier</translation>
    </message>
    <message>
        <source>--files-from needs a file, or - for standard input</source>
        <translation>--files-from demande un fichier, ou - pour l’entrée standard</translation>
    </message>
    <message>
        <source>--jobs needs a whole number of at least 1, not &quot;%1&quot;</source>
        <translation>--jobs demande un nombre entier d’au moins 1, pas «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>%1 works only with --batch</source>
        <translation>%1 ne fonctionne qu’avec --batch</translation>
    </message>
    <message>
        <source>no file or folder to convert was given</source>
        <translation>aucun fichier ni dossier à convertir n’a été donné</translation>
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
        <translation>Utilisation&#xa0;:
  velunor [FICHIER...]
  velunor --batch [--mode mix|left|right] [--output DOSSIER] [--jobs N]
                  [--quality source|KBITS|vN] CHEMIN...
  velunor --batch [OPTION...] --files-from LISTE [--null] [CHEMIN...]

Convertit des fichiers MP3 stéréo en fichiers MP3 mono. Sans --batch, ouvre la
fenêtre avec les FICHIERs dans sa liste.

Avec --batch, convertit sans fenêtre et sans besoin d’affichage. Chaque CHEMIN
qui est un dossier est parcouru, sous-dossiers compris, à la recherche de
fichiers *.mp3&#xa0;; tout autre CHEMIN est converti tel quel. Chaque fichier de
sortie prend le nom de son fichier d’entrée avec «&#xa0;.mp3&#xa0;».

  --mode MODE      comment les deux canaux n’en font plus qu’un&#xa0;: mix (mélange
                   des deux), left (gauche) ou right (droite)&#xa0;; par défaut le
                   mode choisi en dernier dans la fenêtre, sinon mix
  --output DOSSIER où vont les fichiers mono&#xa0;; par défaut le dossier de sortie
                   choisi en dernier dans la fenêtre, sinon le bureau
  --jobs N         conversions simultanées&#xa0;; par défaut une par processeur
                   (%1 ici)
  --quality Q      comment le MP3 mono est encodé&#xa0;: source (le débit de l’entrée
                   par canal, constant), un débit constant en kbit/s comme 128,
                   ou v0 (le meilleur) à v9 (le plus petit), un débit variable&#xa0;;
                   par défaut celui de l’encodeur, comme convertit la fenêtre
  --files-from LISTE  convertir les chemins que nomme LISTE, un par ligne
                   (- les lit sur l’entrée standard)&#xa0;; peut être répété
  -0, --null       les chemins de LISTE sont séparés par des octets NUL, tels
                   que find -print0 les écrit
  --keep-folders   chaque fichier trouvé dans un dossier CHEMIN va dans le même
                   dossier sous le dossier de sortie, créé au besoin
  --skip-existing  un fichier dont la sortie existe déjà, faite à partir du
                   fichier tel qu’il est, n’est pas converti de nouveau (sa
                   ligne dit à jour)
  --keep-dates     chaque sortie prend la date de modification de son entrée
  --trash-inputs   chaque entrée va à la corbeille une fois sa sortie en place&#xa0;;
                   avec le dossier même de l’entrée comme dossier de sortie,
                   cela la convertit sur place
  -h, --help       afficher cette aide et quitter
  --version        afficher la version et quitter

Le dossier de sortie et tout son contenu ne sont jamais parcourus à la
recherche de fichiers d’entrée, sauf si un CHEMIN donné avec --trash-inputs est
le dossier de sortie ou s’y trouve. Un nom qui n’est pas en UTF-8 est converti
comme les autres et affiché avec \xHH pour chaque octet qui n’est pas du texte.

Une entrée déjà mono garde son son, copié tel quel, dans tous les modes et à
toute qualité.

Les options ne changent jamais ce que la fenêtre a enregistré. Sur un terminal,
une ligne d’état montre la progression&#xa0;; sinon, une ligne indique comment chaque
fichier s’est terminé. Un fichier converti avec quelque chose à savoir (des
canaux qui s’annulent dans un mélange, deux programmes mélangés, des
échantillons écrêtés) reçoit une ligne «&#xa0;avertissement&#xa0;: CHEMIN&#xa0;: ...&#xa0;» sur la
sortie d’erreur standard. À la fin, chaque fichier non converti est listé avec
sa raison.

Code de sortie&#xa0;: 0 si chaque fichier a été converti (avec ou sans
avertissements) ou était à jour, 1 si un fichier ne l’a pas été (ou si un
dossier n’a pas pu être parcouru, ou la sortie écrite), 2 pour une ligne de
commande erronée (rien n’est alors converti). SIGINT, SIGTERM et SIGHUP arrêtent
la conversion (les fichiers terminés sont gardés) puis terminent le programme
comme ils terminent les autres&#xa0;: un shell affiche 130, 143 ou 129, et une
boucle du shell s’arrête à Ctrl+C.
</translation>
    </message>
</context>
<context>
    <name>BatchProgram</name>
    <message>
        <source>Try &apos;velunor --help&apos; for more information.</source>
        <translation>Saisissez «&#xa0;velunor --help&#xa0;» pour plus d’informations.</translation>
    </message>
    <message>
        <source>no output folder is stored and none was given: give --output FOLDER</source>
        <translation>aucun dossier de sortie n’est enregistré ni donné&#xa0;: donnez --output DOSSIER</translation>
    </message>
    <message>
        <source>the output folder %1 is not a folder</source>
        <translation>le dossier de sortie %1 n’est pas un dossier</translation>
    </message>
    <message>
        <source>the output folder %1 does not exist</source>
        <translation>le dossier de sortie %1 n’existe pas</translation>
    </message>
    <message>
        <source>the output folder %1 cannot be written</source>
        <translation>impossible d’écrire dans le dossier de sortie %1</translation>
    </message>
    <message>
        <source>velunor: write error: %1</source>
        <translation>velunor&#xa0;: erreur d’écriture&#xa0;: %1</translation>
    </message>
    <message>
        <source>velunor: warning: %1</source>
        <translation>velunor&#xa0;: avertissement&#xa0;: %1</translation>
    </message>
    <message>
        <source>no channel mode is stored: give --mode mix, left or right</source>
        <translation>aucun mode de canal n’est enregistré&#xa0;: donnez --mode mix, left ou right</translation>
    </message>
    <message>
        <source>velunor: the program&apos;s own path cannot be read: %1</source>
        <translation>velunor&#xa0;: impossible de lire le chemin du programme lui-même&#xa0;: %1</translation>
    </message>
    <message>
        <source>velunor: the window program %1 cannot be started: %2</source>
        <translation>velunor&#xa0;: impossible de lancer le programme à fenêtre %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>no such file or folder: %1</source>
        <translation>fichier ou dossier introuvable&#xa0;: %1</translation>
    </message>
    <message>
        <source>no such files or folders: %1</source>
        <translation>fichiers ou dossiers introuvables&#xa0;: %1</translation>
    </message>
    <message>
        <source>Stopped before any file was converted.</source>
        <translation>Arrêté avant qu’un fichier ne soit converti.</translation>
    </message>
    <message numerus="yes">
        <source>Searching for MP3 files... %n found</source>
        <translation>
            <numerusform>Recherche de fichiers MP3... %n trouvé</numerusform>
            <numerusform>Recherche de fichiers MP3... %n trouvés</numerusform>
        </translation>
    </message>
    <message>
        <source>not searched: %1</source>
        <translation>non parcouru&#xa0;: %1</translation>
    </message>
    <message>
        <source>no MP3 files were found in %1</source>
        <translation>aucun fichier MP3 trouvé dans %1</translation>
    </message>
    <message>
        <source>no display is named (neither DISPLAY nor WAYLAND_DISPLAY is set)</source>
        <translation>aucun écran n’est indiqué (ni DISPLAY ni WAYLAND_DISPLAY n’est défini)</translation>
    </message>
    <message>
        <source>the display %1 does not answer (DISPLAY is set, but no X server runs there)</source>
        <translation>l’écran %1 ne répond pas (DISPLAY est défini, mais aucun serveur X n’y tourne)</translation>
    </message>
    <message>
        <source>velunor: the window cannot open: %1.
To convert without the window: velunor --batch --output FOLDER FILE...</source>
        <translation>velunor&#xa0;: la fenêtre ne peut pas s’ouvrir&#xa0;: %1.
Pour convertir sans la fenêtre&#xa0;: velunor --batch --output DOSSIER FICHIER...</translation>
    </message>
</context>
<context>
    <name>BatchRun</name>
    <message>
        <source>1 folder could not be searched:</source>
        <translation>1 dossier n’a pas pu être parcouru&#xa0;:</translation>
    </message>
    <message numerus="yes">
        <source>%n folders could not be searched:</source>
        <translation>
            <numerusform>%n dossier n’a pas pu être parcouru&#xa0;:</numerusform>
            <numerusform>%n dossiers n’ont pas pu être parcourus&#xa0;:</numerusform>
        </translation>
    </message>
    <message>
        <source>velunor: %1 failed: %2</source>
        <translation>velunor&#xa0;: %1 a échoué&#xa0;: %2</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2</source>
        <translation>converti&#xa0;: %1 -&gt; %2</translation>
    </message>
    <message>
        <source>not converted: %1 - %2</source>
        <translation>non converti&#xa0;: %1 - %2</translation>
    </message>
    <message>
        <source>up to date: %1 -&gt; %2</source>
        <translation>à jour&#xa0;: %1 -&gt; %2</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 (input moved to the Trash)</source>
        <translation>converti&#xa0;: %1 -&gt; %2 (entrée mise à la corbeille)</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 (input kept: %3)</source>
        <translation>converti&#xa0;: %1 -&gt; %2 (entrée gardée&#xa0;: %3)</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 - already mono: audio copied unchanged (input moved to the Trash)</source>
        <translation>converti&#xa0;: %1 -&gt; %2 - déjà mono&#xa0;: son copié tel quel (entrée mise à la corbeille)</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 - already mono: audio copied unchanged (input kept: %3)</source>
        <translation>converti&#xa0;: %1 -&gt; %2 - déjà mono&#xa0;: son copié tel quel (entrée gardée&#xa0;: %3)</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 - already mono: audio copied unchanged</source>
        <translation>converti&#xa0;: %1 -&gt; %2 - déjà mono&#xa0;: son copié tel quel</translation>
    </message>
    <message>
        <source>warning: %1: %2</source>
        <translation>avertissement&#xa0;: %1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>ConversionJob</name>
    <message>
        <source>the converter was not run: %1</source>
        <translation>le convertisseur n’a pas été lancé&#xa0;: %1</translation>
    </message>
    <message>
        <source>the output could not be finished: the disk did not answer for %1 seconds</source>
        <translation>la sortie n’a pas pu être terminée&#xa0;: le disque n’a pas répondu pendant %1 secondes</translation>
    </message>
    <message>
        <source>the run was stopped while the output was being put in place as %1</source>
        <translation>la conversion a été arrêtée pendant que la sortie était mise en place sous le nom %1</translation>
    </message>
</context>
<context>
    <name>ConverterFiles</name>
    <message>
        <source>Resource with identifier &apos;%1&apos; not found</source>
        <translation>Ressource d’identifiant «&#xa0;%1&#xa0;» introuvable</translation>
    </message>
    <message>
        <source>the staging folder %1 cannot be used (%2)</source>
        <translation>le dossier de préparation %1 est inutilisable (%2)</translation>
    </message>
    <message>
        <source>another run holds the staging folder %1 locked</source>
        <translation>une autre conversion garde le dossier de préparation %1 verrouillé</translation>
    </message>
    <message>
        <source>the staging folder %1 cannot be locked (%2)</source>
        <translation>le dossier de préparation %1 ne peut pas être verrouillé (%2)</translation>
    </message>
    <message>
        <source>%1 differs from this version&apos;s and another run still uses it</source>
        <translation>%1 diffère de celui de cette version et une autre conversion l’utilise encore</translation>
    </message>
    <message>
        <source>the staging folder %1 could not be locked again (%2)</source>
        <translation>le dossier de préparation %1 n’a pas pu être verrouillé à nouveau (%2)</translation>
    </message>
    <message>
        <source>the staging folder %1 belongs to another user</source>
        <translation>le dossier de préparation %1 appartient à un autre utilisateur</translation>
    </message>
    <message>
        <source>other users can write to the staging folder %1</source>
        <translation>d’autres utilisateurs peuvent écrire dans le dossier de préparation %1</translation>
    </message>
    <message>
        <source>%1 cannot be checked (%2)</source>
        <translation>%1 ne peut pas être vérifié (%2)</translation>
    </message>
    <message>
        <source>%1 is not a plain file</source>
        <translation>%1 n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>%1 belongs to another user</source>
        <translation>%1 appartient à un autre utilisateur</translation>
    </message>
    <message>
        <source>other users can change %1</source>
        <translation>d’autres utilisateurs peuvent modifier %1</translation>
    </message>
</context>
<context>
    <name>FileOutcome</name>
    <message>
        <source>the converter could not be started (%1)</source>
        <translation>le convertisseur n’a pas pu être lancé (%1)</translation>
    </message>
    <message>
        <source>the converter failed (exit status %1)</source>
        <translation>le convertisseur a échoué (code de sortie %1)</translation>
    </message>
    <message>
        <source>ended by signal %1, %2</source>
        <translation>terminé par le signal %1, %2</translation>
    </message>
    <message>
        <source>the converter wrote no output file</source>
        <translation>le convertisseur n’a écrit aucun fichier de sortie</translation>
    </message>
    <message>
        <source>the output is shorter than the input (%1)</source>
        <translation>la sortie est plus courte que l’entrée (%1)</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>le disque est plein</translation>
    </message>
    <message>
        <source>the output folder was removed during the run</source>
        <translation>le dossier de sortie a été supprimé pendant la conversion</translation>
    </message>
    <message>
        <source>cannot write in the output folder: %1%2</source>
        <translation>impossible d’écrire dans le dossier de sortie&#xa0;: %1%2</translation>
    </message>
    <message>
        <source>stopped before it was finished</source>
        <translation>arrêté avant d’être terminé</translation>
    </message>
    <message>
        <source>not started, the run was stopped</source>
        <translation>non commencé, la conversion a été arrêtée</translation>
    </message>
    <message>
        <source>removed from the list before its turn</source>
        <translation>retiré de la liste avant son tour</translation>
    </message>
    <message>
        <source>up to date</source>
        <translation>à jour</translation>
    </message>
    <message>
        <source>already mono: audio copied unchanged</source>
        <translation>déjà mono&#xa0;: son copié tel quel</translation>
    </message>
</context>
<context>
    <name>FilePlan</name>
    <message>
        <source>skipped, the output would replace the listed file %1</source>
        <translation>ignoré, la sortie remplacerait le fichier listé %1</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>le fichier n’existe pas</translation>
    </message>
    <message>
        <source>the output folder %1 does not exist</source>
        <translation>le dossier de sortie %1 n’existe pas</translation>
    </message>
    <message>
        <source>skipped, the output would replace this very file</source>
        <translation>ignoré, la sortie remplacerait ce fichier même</translation>
    </message>
    <message>
        <source>no channel mode is selected</source>
        <translation>aucun mode de canal n’est sélectionné</translation>
    </message>
    <message>
        <source>no free name for its output could be found</source>
        <translation>aucun nom libre n’a été trouvé pour sa sortie</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>le fichier est vide</translation>
    </message>
</context>
<context>
    <name>FileSystem</name>
    <message>
        <source>the file does not exist</source>
        <translation>le fichier n’existe pas</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>ce n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>it is a link to %1, which does not exist</source>
        <translation>c’est un lien vers %1, qui n’existe pas</translation>
    </message>
</context>
<context>
    <name>FinishOutput</name>
    <message>
        <source>the converter wrote no MP3 audio</source>
        <translation>le convertisseur n’a écrit aucun son MP3</translation>
    </message>
    <message>
        <source>%1 of %2 seconds</source>
        <translation>%1 sur %2 secondes</translation>
    </message>
    <message>
        <source>the output could not be written (%1)</source>
        <translation>la sortie n’a pas pu être écrite (%1)</translation>
    </message>
    <message>
        <source>; the unfinished file %1 could not be removed (%2)</source>
        <translation>&#xa0;; le fichier inachevé %1 n’a pas pu être supprimé (%2)</translation>
    </message>
    <message>
        <source>the unfinished output was removed during the run</source>
        <translation>la sortie inachevée a été supprimée pendant la conversion</translation>
    </message>
    <message>
        <source>the output could not be put in place (%1)</source>
        <translation>la sortie n’a pas pu être mise en place (%1)</translation>
    </message>
    <message>
        <source>no free name for its output could be found</source>
        <translation>aucun nom libre n’a été trouvé pour sa sortie</translation>
    </message>
    <message>
        <source>the output could not take its input&apos;s date (%1)</source>
        <translation>la sortie n’a pas pu prendre la date de son entrée (%1)</translation>
    </message>
    <message>
        <source>the file changed while it was converted, and was left as it is</source>
        <translation>le fichier a changé pendant sa conversion et a été laissé tel quel</translation>
    </message>
    <message>
        <source>its output takes its name only once it is in the Trash, and no Trash could be had for it; it was left as it is</source>
        <translation>sa sortie ne prend son nom qu’une fois le fichier à la corbeille, et aucune corbeille n’était disponible pour lui&#xa0;; il a été laissé tel quel</translation>
    </message>
    <message>
        <source>its output is no longer where it was put</source>
        <translation>sa sortie n’est plus là où elle a été mise</translation>
    </message>
    <message>
        <source>it is no longer there</source>
        <translation>il n’est plus là</translation>
    </message>
    <message>
        <source>it changed while it was converted</source>
        <translation>il a changé pendant sa conversion</translation>
    </message>
    <message>
        <source>no Trash could be had for it</source>
        <translation>aucune corbeille n’était disponible pour lui</translation>
    </message>
    <message>
        <source>the warning&apos;s remedy needs it</source>
        <translation>il sert au remède que l’avertissement indique</translation>
    </message>
</context>
<context>
    <name>ForeignTags</name>
    <message>
        <source>its tags cannot be read: the program&apos;s part that reads them cannot be loaded (%1)</source>
        <translation>ses étiquettes ne peuvent pas être lues&#xa0;: la partie du programme qui les lit ne peut pas être chargée (%1)</translation>
    </message>
</context>
<context>
    <name>ListRun</name>
    <message>
        <source>not started</source>
        <translation>non commencé</translation>
    </message>
</context>
<context>
    <name>MpegAudioCopy</name>
    <message>
        <source>the input could not be read (%1)</source>
        <translation>l’entrée n’a pas pu être lue (%1)</translation>
    </message>
    <message>
        <source>the input holds no audio between its tags</source>
        <translation>l’entrée ne contient aucun son entre ses étiquettes</translation>
    </message>
    <message>
        <source>the output could not be written</source>
        <translation>la sortie n’a pas pu être écrite</translation>
    </message>
    <message>
        <source>the copy was cancelled</source>
        <translation>la copie a été annulée</translation>
    </message>
</context>
<context>
    <name>OutputQuality</name>
    <message>
        <source>--quality %1: MPEG audio has no bit rate of %1 kbps, only %2</source>
        <translation>--quality %1&#xa0;: l’audio MPEG n’a pas de débit de %1 kbit/s, seulement %2</translation>
    </message>
    <message>
        <source>--quality takes source, a bit rate in kbps such as 128, or v0 to v9, not &quot;%1&quot;</source>
        <translation>--quality accepte source, un débit en kbit/s comme 128, ou v0 à v9, pas «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>encoded at %1 kbps: the encoder has no %2 kbps at %3 kHz</source>
        <translation>encodé à %1 kbit/s&#xa0;: l’encodeur n’a pas de %2 kbit/s à %3 kHz</translation>
    </message>
</context>
<context>
    <name>OutputSubfolder</name>
    <message>
        <source>the output folder %1 could not be made (%2)</source>
        <translation>le dossier de sortie %1 n’a pas pu être créé (%2)</translation>
    </message>
    <message>
        <source>the output folder %1 could not be made (a file of that name is in the way)</source>
        <translation>le dossier de sortie %1 n’a pas pu être créé (un fichier de ce nom occupe la place)</translation>
    </message>
</context>
<context>
    <name>PlatformError</name>
    <message>
        <source>Unexpected failure</source>
        <translation>Échec inattendu</translation>
    </message>
</context>
<context>
    <name>ReplayGainUpdate</name>
    <message>
        <source>the run was stopped</source>
        <translation>la conversion a été arrêtée</translation>
    </message>
    <message>
        <source>the output was replaced meanwhile</source>
        <translation>la sortie a été remplacée entre-temps</translation>
    </message>
    <message>
        <source>the album&apos;s ReplayGain values could not be written (%1); it keeps the track&apos;s</source>
        <translation>les valeurs ReplayGain de l’album n’ont pas pu être écrites (%1)&#xa0;; le fichier garde celles de la piste</translation>
    </message>
</context>
<context>
    <name>RunStep</name>
    <message>
        <source>loading the converter file %1</source>
        <translation>le chargement du fichier %1 du convertisseur</translation>
    </message>
    <message>
        <source>staging the converter file %1</source>
        <translation>la préparation du fichier %1 du convertisseur</translation>
    </message>
</context>
<context>
    <name>RunSummary</name>
    <message>
        <source>the output&apos;s file system refuses the name as it is</source>
        <translation>le système de fichiers de la sortie refuse le nom tel quel</translation>
    </message>
    <message>
        <source>another file in the list has the same name</source>
        <translation>un autre fichier de la liste porte le même nom</translation>
    </message>
    <message>
        <source>a file of that name holds the output of another input</source>
        <translation>un fichier de ce nom contient la sortie d’une autre entrée</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>... et %n autre.</numerusform>
            <numerusform>... et %n autres.</numerusform>
        </translation>
    </message>
    <message>
        <source>your file of that name was moved to the Trash</source>
        <translation>votre fichier de ce nom a été mis à la corbeille</translation>
    </message>
    <message>
        <source>%1 - your file %2 was moved to the Trash</source>
        <translation>%1 - votre fichier %2 a été mis à la corbeille</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>Arrêté.</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Terminé.</translation>
    </message>
    <message>
        <source>The file was converted.</source>
        <translation>Le fichier a été converti.</translation>
    </message>
    <message numerus="yes">
        <source>All %n files were converted.</source>
        <translation>
            <numerusform>%n fichier a été converti.</numerusform>
            <numerusform>Les %n fichiers ont tous été convertis.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>1 of %n files was not converted.</source>
        <translation>
            <numerusform>1 fichier sur %n n’a pas été converti.</numerusform>
            <numerusform>1 fichier sur %n n’a pas été converti.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n of %1 files were not converted.</source>
        <translation>
            <numerusform>%n fichier sur %1 n’a pas été converti.</numerusform>
            <numerusform>%n fichiers sur %1 n’ont pas été convertis.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file was not converted:</source>
        <translation>1 fichier n’a pas été converti&#xa0;:</translation>
    </message>
    <message numerus="yes">
        <source>%n files were not converted:</source>
        <translation>
            <numerusform>%n fichier n’a pas été converti&#xa0;:</numerusform>
            <numerusform>%n fichiers n’ont pas été convertis&#xa0;:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file was saved under another name or in place of a file of yours:</source>
        <translation>1 fichier a été enregistré sous un autre nom ou à la place d’un de vos fichiers&#xa0;:</translation>
    </message>
    <message numerus="yes">
        <source>%n files were saved under another name or in place of a file of yours:</source>
        <translation>
            <numerusform>%n fichier a été enregistré sous un autre nom ou à la place d’un de vos fichiers&#xa0;:</numerusform>
            <numerusform>%n fichiers ont été enregistrés sous un autre nom ou à la place de vos fichiers&#xa0;:</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 - the file is in the Trash as %2</source>
        <translation>%1 - le fichier est à la corbeille sous le nom %2</translation>
    </message>
    <message>
        <source>The file was up to date.</source>
        <translation>Le fichier était à jour.</translation>
    </message>
    <message numerus="yes">
        <source>All %n files were up to date.</source>
        <translation>
            <numerusform>%n fichier était à jour.</numerusform>
            <numerusform>Les %n fichiers étaient tous à jour.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>1 of %n files was converted, the others were up to date.</source>
        <translation>
            <numerusform>1 fichier sur %n a été converti, les autres étaient à jour.</numerusform>
            <numerusform>1 fichier sur %n a été converti, les autres étaient à jour.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n of %1 files were converted, the others were up to date.</source>
        <translation>
            <numerusform>%n fichier sur %1 a été converti, les autres étaient à jour.</numerusform>
            <numerusform>%n fichiers sur %1 ont été convertis, les autres étaient à jour.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file was up to date and not converted again.</source>
        <translation>1 fichier était à jour et n’a pas été converti de nouveau.</translation>
    </message>
    <message numerus="yes">
        <source>%n files were up to date and not converted again.</source>
        <translation>
            <numerusform>%n fichier était à jour et n’a pas été converti de nouveau.</numerusform>
            <numerusform>%n fichiers étaient à jour et n’ont pas été convertis de nouveau.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 input was moved to the Trash.</source>
        <translation>1 fichier d’entrée a été mis à la corbeille.</translation>
    </message>
    <message numerus="yes">
        <source>%n inputs were moved to the Trash.</source>
        <translation>
            <numerusform>%n fichier d’entrée a été mis à la corbeille.</numerusform>
            <numerusform>%n fichiers d’entrée ont été mis à la corbeille.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 input stays where it was, not in the Trash:</source>
        <translation>1 fichier d’entrée reste où il était, hors de la corbeille&#xa0;:</translation>
    </message>
    <message numerus="yes">
        <source>%n inputs stay where they were, not in the Trash:</source>
        <translation>
            <numerusform>%n fichier d’entrée reste où il était, hors de la corbeille&#xa0;:</numerusform>
            <numerusform>%n fichiers d’entrée restent où ils étaient, hors de la corbeille&#xa0;:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 warning:</source>
        <translation>1 avertissement&#xa0;:</translation>
    </message>
    <message numerus="yes">
        <source>%n warnings:</source>
        <translation>
            <numerusform>%n avertissement&#xa0;:</numerusform>
            <numerusform>%n avertissements&#xa0;:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file was mono already:</source>
        <translation>1 fichier était déjà mono&#xa0;:</translation>
    </message>
    <message numerus="yes">
        <source>%n files were mono already:</source>
        <translation>
            <numerusform>%n fichier était déjà mono&#xa0;:</numerusform>
            <numerusform>%n fichiers étaient déjà mono&#xa0;:</numerusform>
        </translation>
    </message>
    <message>
        <source>your file of that name stays, as no Trash could take it</source>
        <translation>votre fichier de ce nom reste, aucune corbeille ne pouvant le recevoir</translation>
    </message>
    <message>
        <source>the name is too long for the output folder&apos;s file system</source>
        <translation>le nom est trop long pour le système de fichiers du dossier de sortie</translation>
    </message>
    <message>
        <source>; </source>
        <extracomment>Between two reasons why an output has another name.</extracomment>
        <translation>&#xa0;; </translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>Type mismatch</source>
        <translation>Type incompatible</translation>
    </message>
</context>
<context>
    <name>StatusLine</name>
    <message numerus="yes">
        <source>%1%  %2/%n files</source>
        <translation>
            <numerusform>%1&#xa0;%  %2/%n fichier</numerusform>
            <numerusform>%1&#xa0;%  %2/%n fichiers</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>reste %1</translation>
    </message>
</context>
<context>
    <name>StoredDefaults</name>
    <message>
        <source>the stored value &quot;%1&quot; of %2 is not True or False and was passed over</source>
        <translation>la valeur enregistrée «&#xa0;%1&#xa0;» de %2 n’est ni True ni False et a été ignorée</translation>
    </message>
</context>
<context>
    <name>TagCopy</name>
    <message>
        <source>the tags of the input could not be read (%1)</source>
        <translation>les étiquettes de l’entrée n’ont pas pu être lues (%1)</translation>
    </message>
    <message>
        <source>the converted file could not be read (%1)</source>
        <translation>le fichier converti n’a pas pu être lu (%1)</translation>
    </message>
    <message>
        <source>the tags could not be written (%1)</source>
        <translation>les étiquettes n’ont pas pu être écrites (%1)</translation>
    </message>
    <message>
        <source>the tag copy was cancelled</source>
        <translation>la copie des étiquettes a été annulée</translation>
    </message>
</context>
</TS>
