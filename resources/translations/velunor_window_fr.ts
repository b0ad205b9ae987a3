<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>ErrorReport</name>
    <message>
        <source>%1<byte value="xd"/>
in %2 at line %3<byte value="xd"/><byte value="xd"/>Please email screenshot of this message to %4</source>
        <translation>%1<byte value="xd"/>
dans %2 à la ligne %3<byte value="xd"/><byte value="xd"/>Veuillez envoyer une capture d’écran de ce message par courriel à %4</translation>
    </message>
    <message>
        <source>Application Error</source>
        <translation>Erreur de l’application</translation>
    </message>
</context>
<context>
    <name>FileListView</name>
    <message>
        <source>Index out of bounds</source>
        <translation>Index hors limites</translation>
    </message>
</context>
<context>
    <name>QtPlatform</name>
    <message>
        <source>The file name buffer is too small.</source>
        <translation>La mémoire tampon des noms de fichiers est trop petite.</translation>
    </message>
</context>
<context>
    <name>velunor::conversion::ConversionRun</name>
    <message>
        <source>Progress Bar</source>
        <translation>Barre de progression</translation>
    </message>
    <message>
        <source>%1% · %2 left</source>
        <translation>%1&#xa0;% · reste %2</translation>
    </message>
    <message>
        <source>Processing: %1</source>
        <translation>Traitement&#xa0;: %1</translation>
    </message>
    <message>
        <source>Please wait.. %1</source>
        <translation>Veuillez patienter.. %1</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1&#xa0;%</translation>
    </message>
</context>
<context>
    <name>velunor::app::Form1</name>
    <message>
        <source>What is Mono and Stereo?</source>
        <translation>Qu’est-ce que le mono et la stéréo&#xa0;?</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to reveal full names.</source>
        <translation>Glissez-déposez des fichiers ici. Double-cliquez sur un élément pour le retirer. Déplacez la ligne | vers la droite, hors de la fenêtre, pour voir les noms complets.</translation>
    </message>
    <message>
        <source>MP3 files to convert</source>
        <translation>Fichiers MP3 à convertir</translation>
    </message>
    <message>
        <source>The arrow keys select a file and Delete removes it from the list.</source>
        <translation>Les flèches sélectionnent un fichier et Suppr le retire de la liste.</translation>
    </message>
    <message>
        <source>Add MP3 File(s)</source>
        <translation>Ajouter des fichiers MP3</translation>
    </message>
    <message>
        <source>Add All MP3 File(s) In Folder</source>
        <translation>Ajouter tous les MP3 d’un dossier</translation>
    </message>
    <message>
        <source>Clear List</source>
        <translation>Vider la liste</translation>
    </message>
    <message>
        <source>Load Sample/Example Files</source>
        <translation>Charger les fichiers d’exemple</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Mix left and right channels into one channel</source>
        <translation>Mélanger les canaux gauche et droit en un seul canal</translation>
    </message>
    <message>
        <source>Keep left channel audio only and discard right channel audio</source>
        <translation>Garder seulement le canal gauche et abandonner le canal droit</translation>
    </message>
    <message>
        <source>Keep right channel audio only and discard left channel audio</source>
        <translation>Garder seulement le canal droit et abandonner le canal gauche</translation>
    </message>
    <message>
        <source>Save Results To This Folder</source>
        <translation>Enregistrer les résultats dans ce dossier</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Dossier de sortie</translation>
    </message>
    <message>
        <source>The converted files are saved in this folder.</source>
        <translation>Les fichiers convertis sont enregistrés dans ce dossier.</translation>
    </message>
    <message>
        <source>Browse for the output folder</source>
        <translation>Choisir le dossier de sortie</translation>
    </message>
    <message>
        <source>Start Converting</source>
        <translation>Lancer la conversion</translation>
    </message>
    <message>
        <source>Progress Bar</source>
        <translation>Barre de progression</translation>
    </message>
    <message>
        <source>MP3 File(s)</source>
        <translation>Fichier(s) MP3</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Appel de procédure ou argument incorrect</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Image non valide</translation>
    </message>
    <message>
        <source>No files added.</source>
        <translation>Aucun fichier ajouté.</translation>
    </message>
    <message>
        <source>Folder does not exist. Please select another folder.</source>
        <translation>Le dossier n’existe pas. Veuillez choisir un autre dossier.</translation>
    </message>
    <message>
        <source>Stop converting now? Files already converted are kept.</source>
        <translation>Arrêter la conversion maintenant&#xa0;? Les fichiers déjà convertis sont conservés.</translation>
    </message>
    <message>
        <source>Mono describes a system where all the audio signals are mixed together and routed through a single audio channel.</source>
        <translation>Le mono désigne un système où tous les signaux audio sont mélangés et acheminés par un seul canal audio.</translation>
    </message>
    <message>
        <source>Stereo sound systems have two independent audio signal channels.</source>
        <translation>Les systèmes sonores stéréo ont deux canaux de signal audio indépendants.</translation>
    </message>
    <message>
        <source>If you have a file that does not convert correctly, try splitting it into multiple parts and try with this software again. If this works or if you have any questions, please email %1.</source>
        <translation>Si un fichier ne se convertit pas correctement, essayez de le découper en plusieurs parties et réessayez avec ce logiciel. Si cela fonctionne, ou pour toute question, écrivez à %1.</translation>
    </message>
    <message>
        <source>Please select folder:</source>
        <translation>Veuillez choisir un dossier&#xa0;:</translation>
    </message>
    <message>
        <source>Add File(s) - Hold Ctrl to select multiple files</source>
        <translation>Ajouter des fichiers – Maintenez Ctrl pour en sélectionner plusieurs</translation>
    </message>
    <message>
        <source>MP3 File</source>
        <translation>Fichier MP3</translation>
    </message>
    <message>
        <source>You&apos;ve selected too many files to add.<byte value="xd"/><byte value="xd"/>Please try adding via the &quot;Add All&quot; button.</source>
        <translation>Vous avez sélectionné trop de fichiers à ajouter.<byte value="xd"/><byte value="xd"/>Essayez plutôt le bouton «&#xa0;Ajouter tous les MP3 d’un dossier&#xa0;».</translation>
    </message>
    <message>
        <source>Enter file extension to load:<byte value="xd"/><byte value="xd"/>(* for all files, txt for all txt files, doc for all doc files, etc.)</source>
        <translation>Saisissez l’extension des fichiers à charger&#xa0;:<byte value="xd"/><byte value="xd"/>(* pour tous les fichiers, txt pour tous les fichiers txt, doc pour tous les fichiers doc, etc.)</translation>
    </message>
    <message>
        <source>Would you like this software to open the folder where these sample files are stored (so that you can view them before working with them)?</source>
        <translation>Voulez-vous que ce logiciel ouvre le dossier où sont rangés ces fichiers d’exemple (pour que vous puissiez les consulter avant de travailler avec eux)&#xa0;?</translation>
    </message>
</context>
</TS>
